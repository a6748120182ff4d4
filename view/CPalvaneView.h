#pragma once

#include "framework/CCmdTarget.h"
#include "framework/DocumentView.h"

#include <QWidget>

#include <cstdint>

class CMemDC;
class GridLayout;
class CPalvaneDoc;
class QPainter;
class QPrinter;

// Shows one document's palette as a 16 by 16 grid of cells that fills the
// view: raised buttons with the selected run pressed on screen, flat cells
// labelled with their hexadecimal index on paper. The pointer picks the hot
// cell; clicks select, a double-click edits a colour. With the keyboard
// focus the view marks its current cell; the arrow keys, Home and End move
// it and select as clicks on the cell moved to would, and Enter, Space or
// F2 edit its colour.
class CPalvaneView : public QWidget, public CCmdTarget, public DocumentView {
    Q_OBJECT

public:
    // Attaches the view to `document` (not owned), which must outlive it.
    explicit CPalvaneView(CPalvaneDoc* document, QWidget* parent = nullptr);
    ~CPalvaneView() override;

    CPalvaneDoc* GetDocument() const { return m_pDocument; }

    // The layout of the last drawing pass, on screen or on paper, and the
    // cell last under the pointer.
    std::int32_t Gap() const { return m_nGap; }
    std::int32_t CellWidth() const { return m_nCellWidth; }
    std::int32_t CellHeight() const { return m_nCellHeight; }
    std::int32_t HotCell() const { return m_nHotCell; }
    // The cell the keys move from and edit.
    std::int32_t CurrentCell() const { return m_nCurrentCell; }

    // The grid at a comfortable size, and the smallest grid whose cells can
    // still be told apart and clicked. Child frames, Cascade and Tile size
    // the view from these.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The document changed: the whole view is redrawn, unless only a colour
    // being chosen is shown.
    void OnUpdate(DocumentView* sender, std::intptr_t hint, void* hintObject) override;

    // Draws the grid with `pDC`: on screen over the client area, of which
    // `clipBox` needs repainting, or when printing over `clipBox`, the page.
    void OnDraw(QPainter* pDC, bool printing, const QRect& clipBox);
    // Draws the printed page with `pDC`, a painter on a printer.
    void OnPrint(QPainter* pDC);

    // Print asks with the print dialog; direct printing and the preview take
    // the default printer and ask only when there is none.
    void OnFilePrint();
    void OnFilePrintDirect();
    void OnFilePrintPreview();
    // Prints the one page on `printer`. False when the job could not start
    // or not be finished.
    bool PrintJob(QPrinter& printer);
    // The same for the print commands, which tell the user when it fails.
    void RunPrintJob(QPrinter& printer);
    // Shows the page as `printer` would print it.
    void PrintPreview(QPrinter& printer);

    void OnMouseMove(const QPoint& point);
    void OnLButtonDown(bool shift);
    void OnLButtonDblClk();
    // A key pressed in the view, with or without Shift. False for a key the
    // grid does not use.
    bool OnKeyDown(int key, bool shift);
    // Asks for a new colour of cell `index`, starting from its own; a
    // confirmed colour goes into the palette through the document-changed
    // protocol.
    void EditCellColor(std::int32_t index);

    // Print, direct printing and the preview are the view's commands.
    static const CommandMap commandMap;

protected:
    const CommandMap* GetCommandMap() const override { return &commandMap; }
    bool OnPreparePrinting(QPrinter& printer, bool askUser);
    // Nothing to set up or release around a print job: every drawing object
    // lives within one drawing pass.
    virtual void OnBeginPrinting(QPainter*, QPrinter&) {}
    virtual void OnEndPrinting(QPainter*, QPrinter&) {}

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void DrawGrid(CMemDC& dc, const QRect& area);
    // The screen's grid with its background, drawing each run of identical
    // pixel rows once. False, having drawn nothing, where rows cannot be
    // copied.
    bool DrawScreenByRows(CMemDC& dc, const QRect& area, const GridLayout& layout);
    void DrawCells(QPainter& painter, const GridLayout& layout, int first, int end, bool printing);
    void DrawFocusRect(QPainter& painter, const GridLayout& layout);
    // A click on cell `index`, with or without Shift: the selection follows
    // the click rule and the current cell follows a click that acted.
    void SelectCell(std::int32_t index, bool shift);
    void ShowCellText(std::int32_t index);

    CPalvaneDoc* m_pDocument;
    std::int32_t m_nGap = 1;
    // Clicks use the hot cell before the pointer has moved, so it starts at
    // a valid index.
    std::int32_t m_nHotCell = 0;
    std::int32_t m_nCellWidth = 1;
    std::int32_t m_nCellHeight = 1;
    std::int32_t m_nCurrentCell = 0;
};
