#include "view/CPalvaneView.h"

#include "document/CPalvaneDoc.h"
#include "document/CellNavigation.h"
#include "document/CellText.h"
#include "document/DocumentHints.h"
#include "document/GridLayout.h"
#include "document/SelectionClick.h"
#include "framework/CColorDialog.h"
#include "framework/FrameworkMessages.h"
#include "framework/MessagePane.h"
#include "framework/UserInterface.h"
#include "framework/qt/PrinterSetup.h"
#include "res/CommandIds.h"
#include "view/CMemDC.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintDevice>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>

#include <cmath>

namespace {

QColor ToQColor(const ColorTriple& color)
{
    return QColor(color.red, color.green, color.blue);
}

// A Windows-style push-button frame around a cell, two rings deep: raised it
// is light at the top and left and dark at the bottom and right, pressed the
// other way round. The inner ring's top and left lines are left out: the
// cell's fill always covers them.
void DrawPushButtonFrame(QPainter& painter, const QRect& frame, bool pressed,
                         const QPalette& palette)
{
    const int x = frame.x();
    const int y = frame.y();
    const int w = frame.width();
    const int h = frame.height();
    if (w < 2 || h < 2)
        return;
    const QColor light = palette.color(QPalette::Light);
    const QColor shadow = palette.color(QPalette::Shadow);
    const QColor face = palette.color(QPalette::Button);
    const QColor dark = palette.color(QPalette::Dark);
    const QColor& outerTopLeft = pressed ? shadow : light;
    const QColor& outerBottomRight = pressed ? light : shadow;
    const QColor& innerBottomRight = pressed ? face : dark;

    painter.fillRect(x, y, 1, h - 1, outerTopLeft);
    painter.fillRect(x, y, w - 1, 1, outerTopLeft);
    painter.fillRect(x, y + h - 1, w, 1, outerBottomRight);
    painter.fillRect(x + w - 1, y, 1, h, outerBottomRight);
    if (w < 4 || h < 4)
        return;
    painter.fillRect(x + 1, y + h - 2, w - 2, 1, innerBottomRight);
    painter.fillRect(x + w - 2, y + 1, 1, h - 2, innerBottomRight);
}

GridRect ToGridRect(const QRect& area)
{
    return GridRect{area.left(), area.top(), area.right() + 1, area.bottom() + 1};
}

void ReportPrintJobFailed()
{
    AfxMessageBox(framework_messages::kFailedToStartPrint, MB_OK | MB_ICONSTOP);
}

// On screen, cells of this many pixels show their colour comfortably; below
// the minimum a cell's colour inside its frame is too small to judge or hit.
constexpr std::int32_t kPreferredCellSize = 24;
constexpr std::int32_t kMinimumCellSize = 10;

QSize ScreenGridSize(std::int32_t cellSize)
{
    const std::int32_t side = GridLayout::AreaFor(cellSize, GridLayout::kScreenGap);
    return {side, side};
}

} // namespace

namespace {

const CommandMapEntry kCommands[] = {
    {ID_FILE_PRINT, &CPalvaneView::OnFilePrint},
    {ID_FILE_PRINT_DIRECT, &CPalvaneView::OnFilePrintDirect},
    {ID_FILE_PRINT_PREVIEW, &CPalvaneView::OnFilePrintPreview},
};

} // namespace

constinit const CommandMap CPalvaneView::commandMap{&CCmdTarget::commandMap, kCommands};

CPalvaneView::CPalvaneView(CPalvaneDoc* document, QWidget* parent)
    : QWidget(parent), m_pDocument(document)
{
    // The drawing pass paints every pixel itself, background included.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // Clicks and Tab give it the keyboard.
    setFocusPolicy(Qt::StrongFocus);
    // A further view of a document starts where the selected run ends.
    if (m_pDocument->m_nSelStart >= 0)
        m_nCurrentCell = m_pDocument->m_nSelEnd;
    m_pDocument->AddView(this);
}

CPalvaneView::~CPalvaneView()
{
    m_pDocument->RemoveView(this);
}

QSize CPalvaneView::sizeHint() const
{
    return ScreenGridSize(kPreferredCellSize);
}

QSize CPalvaneView::minimumSizeHint() const
{
    return ScreenGridSize(kMinimumCellSize);
}

void CPalvaneView::OnUpdate(DocumentView*, std::intptr_t hint, void*)
{
    // The grid shows the palette, not the colours the chooser passes by.
    if (hint == kHintColorBeingChosen || hint == kHintColorChoiceEnded)
        return;
    update();
}

void CPalvaneView::OnDraw(QPainter* pDC, bool printing, const QRect& clipBox)
{
    QRect area;
    if (printing) {
        m_nGap = GridLayout::kPrintGap;
        area = clipBox;
    } else {
        m_nGap = GridLayout::kScreenGap;
        area = rect();
    }
    CMemDC dc(pDC, printing, clipBox);
    DrawGrid(dc, area);
}

void CPalvaneView::DrawGrid(CMemDC& dc, const QRect& area)
{
    const GridLayout layout(ToGridRect(area), m_nGap);
    QPainter& painter = *dc;
    painter.save();
    if (dc.IsPrinting()) {
        DrawCells(painter, layout, 0, GridLayout::kCells, true);
    } else {
        if (!DrawScreenByRows(dc, area, layout)) {
            painter.fillRect(area, palette().color(QPalette::Button));
            DrawCells(painter, layout, 0, GridLayout::kCells, false);
        }
        if (hasFocus())
            DrawFocusRect(painter, layout);
    }
    painter.restore();
    m_nCellWidth = layout.CellWidth();
    m_nCellHeight = layout.CellHeight();
}

bool CPalvaneView::DrawScreenByRows(CMemDC& dc, const QRect& area, const GridLayout& layout)
{
    if (layout.CellWidth() < 2 || layout.CellHeight() < 2 || !dc.CanRepeatRows(area))
        return false;
    QPainter& painter = *dc;
    const QColor face = palette().color(QPalette::Button);
    int top = area.top();
    for (int first = 0; first < GridLayout::kCells; first += GridLayout::kColumns) {
        // Across a row of cells, every pixel row from the cells' top to the
        // row above their frames' inner bottom edge is the same: the rows
        // down to the first of them and the last two are drawn, the others
        // copied.
        const GridRect cell = layout.CellRect(first);
        for (const QRect part : {QRect(area.left(), top, area.width(), cell.top + 1 - top),
                                 QRect(area.left(), cell.bottom - 1, area.width(), 2)}) {
            painter.setClipRect(part);
            painter.fillRect(part, face);
            DrawCells(painter, layout, first, first + GridLayout::kColumns, false);
        }
        dc.RepeatRow(cell.top, cell.top + 1, cell.bottom - 1);
        top = cell.bottom + 1;
    }
    painter.setClipping(false);
    painter.fillRect(QRect(area.left(), top, area.width(), area.bottom() + 1 - top), face);
    return true;
}

void CPalvaneView::DrawCells(QPainter& painter, const GridLayout& layout, int first, int end,
                             bool printing)
{
    const CPalvaneDoc& document = *m_pDocument;
    const int labelAscent = printing ? painter.fontMetrics().ascent() : 0;
    for (int i = first; i < end; ++i) {
        const GridRect cell = layout.CellRect(i);
        const ColorTriple& color = document.m_palette[static_cast<std::size_t>(i)];
        if (!printing) {
            const bool selected = document.m_nSelStart <= i && i <= document.m_nSelEnd;
            DrawPushButtonFrame(painter,
                                QRect(cell.left - 1, cell.top - 1, cell.right - cell.left + 2,
                                      cell.bottom - cell.top + 2),
                                selected, palette());
        }
        // The fill leaves the cell's last column and row to the frame's
        // inner edge.
        if (cell.right - cell.left > 1 && cell.bottom - cell.top > 1)
            painter.fillRect(cell.left, cell.top, cell.right - cell.left - 1,
                             cell.bottom - cell.top - 1, ToQColor(color));
        if (printing) {
            painter.setPen(CellLabelIsBlack(color) ? Qt::black : Qt::white);
            painter.drawText(QPoint(cell.left, cell.top + labelAscent),
                             QString::fromStdString(CellLabel(i)));
        }
    }
}

void CPalvaneView::DrawFocusRect(QPainter& painter, const GridLayout& layout)
{
    // A ring around the current cell's frame, filling the gap between that
    // frame and its neighbours' (the frame lies one unit outside the cell),
    // so the cell's colour and frame stay in full view.
    constexpr int kThickness = GridLayout::kScreenGap - 2;
    static_assert(kThickness > 0, "the screen's gap leaves room for the ring");
    const GridRect cell = layout.CellRect(m_nCurrentCell);
    if (cell.right - cell.left < 1 || cell.bottom - cell.top < 1)
        return;
    const QRect ring(cell.left - 1 - kThickness, cell.top - 1 - kThickness,
                     cell.right - cell.left + 2 + 2 * kThickness,
                     cell.bottom - cell.top + 2 + 2 * kThickness);
    const QColor color = palette().color(QPalette::Highlight);
    painter.fillRect(ring.x(), ring.y(), ring.width(), kThickness, color);
    painter.fillRect(ring.x(), ring.bottom() + 1 - kThickness, ring.width(), kThickness, color);
    painter.fillRect(ring.x(), ring.y(), kThickness, ring.height(), color);
    painter.fillRect(ring.right() + 1 - kThickness, ring.y(), kThickness, ring.height(), color);
}

void CPalvaneView::OnPrint(QPainter* pDC)
{
    const QRect clipBox = pDC->hasClipping()
                              ? pDC->clipBoundingRect().toAlignedRect()
                              : QRect(0, 0, pDC->device()->width(), pDC->device()->height());
    OnDraw(pDC, true, clipBox);
}

bool CPalvaneView::OnPreparePrinting(QPrinter& printer, bool askUser)
{
    // Print Setup's printer, or else the default one; the dialog when there
    // is neither. A printer that cannot print fails when its job starts.
    bool hasPrinter = PrinterSetup::ApplyTo(printer);
    if (!askUser) {
        const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
        if (!hasPrinter && !defaultPrinter.isNull()) {
            printer.setPrinterName(defaultPrinter.printerName());
            hasPrinter = true;
        }
        if (hasPrinter)
            return true;
    }
    QPrintDialog dialog(&printer, this);
    return dialog.exec() == QDialog::Accepted;
}

void CPalvaneView::OnFilePrint()
{
    QPrinter printer(QPrinter::HighResolution);
    if (OnPreparePrinting(printer, true))
        RunPrintJob(printer);
}

void CPalvaneView::OnFilePrintDirect()
{
    QPrinter printer(QPrinter::HighResolution);
    if (OnPreparePrinting(printer, false))
        RunPrintJob(printer);
}

void CPalvaneView::OnFilePrintPreview()
{
    QPrinter printer(QPrinter::HighResolution);
    if (!OnPreparePrinting(printer, false))
        return;
    if (printer.isValid())
        PrintPreview(printer);
    else
        ReportPrintJobFailed();
}

bool CPalvaneView::PrintJob(QPrinter& printer)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    OnBeginPrinting(&painter, printer);
    OnPrint(&painter);
    OnEndPrinting(&painter, printer);
    return painter.end();
}

void CPalvaneView::RunPrintJob(QPrinter& printer)
{
    if (!PrintJob(printer))
        ReportPrintJobFailed();
}

void CPalvaneView::PrintPreview(QPrinter& printer)
{
    QPrintPreviewDialog preview(&printer, this);
    // Both the preview's pages and its Print button draw through here.
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* page) { RunPrintJob(*page); });
    // One page or two side by side, as the last preview showed.
    auto* pages = preview.findChild<QPrintPreviewWidget*>();
    if (pages != nullptr && PrinterSetup::PreviewPages() == 2)
        pages->setFacingPagesViewMode();
    preview.exec();
    if (pages != nullptr && pages->viewMode() != QPrintPreviewWidget::AllPagesView)
        PrinterSetup::SetPreviewPages(
            pages->viewMode() == QPrintPreviewWidget::FacingPagesView ? 2 : 1);
}

void CPalvaneView::OnMouseMove(const QPoint& point)
{
    m_nHotCell =
        GridLayout::HitTest(point.x(), point.y(), m_nGap, m_nCellWidth, m_nCellHeight, m_nHotCell);
    ShowCellText(m_nHotCell);
}

void CPalvaneView::OnLButtonDown(bool shift)
{
    SelectCell(m_nHotCell, shift);
}

void CPalvaneView::OnLButtonDblClk()
{
    EditCellColor(m_nHotCell);
}

bool CPalvaneView::OnKeyDown(int key, bool shift)
{
    CellMove move;
    switch (key) {
    case Qt::Key_Left:
        move = CellMove::left;
        break;
    case Qt::Key_Right:
        move = CellMove::right;
        break;
    case Qt::Key_Up:
        move = CellMove::up;
        break;
    case Qt::Key_Down:
        move = CellMove::down;
        break;
    case Qt::Key_Home:
        move = CellMove::first;
        break;
    case Qt::Key_End:
        move = CellMove::last;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
    case Qt::Key_F2:
        EditCellColor(m_nCurrentCell);
        ShowCellText(m_nCurrentCell);
        return true;
    default:
        return false;
    }
    // A move is a click on the cell moved to, so keys and the mouse select
    // alike.
    SelectCell(CellAfterMove(m_nCurrentCell, move), shift);
    ShowCellText(m_nCurrentCell);
    return true;
}

void CPalvaneView::EditCellColor(std::int32_t index)
{
    ColorTriple& entry = m_pDocument->m_palette[static_cast<std::size_t>(index)];
    CColorDialog dialog(entry.ToColorRef(), CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR);
    // Views that follow the palette (the tables panel) show the colour
    // while it is being chosen, and the palette again if it is not.
    dialog.SetColorFollower([document = m_pDocument, cell = index](ColorRef shown) {
        document->ShowColorBeingChosen(cell, ColorTriple::FromColorRef(shown));
    });
    if (dialog.DoModal() != IDOK) {
        m_pDocument->EndColorBeingChosen();
        return;
    }
    entry = ColorTriple::FromColorRef(dialog.GetColor());
    m_pDocument->NotifyPaletteChanged("Edit Color", CellRun{index, index});
}

void CPalvaneView::SelectCell(std::int32_t index, bool shift)
{
    // A Shift-click that does nothing leaves the current cell too: nothing
    // is redrawn.
    if (!ApplySelectionClick(*m_pDocument, index, shift))
        return;
    m_nCurrentCell = index;
    update();
}

void CPalvaneView::ShowCellText(std::int32_t index)
{
    if (MessagePane* pane = AfxGetMessagePane())
        pane->SetMessageText(
            CellStatusText(index, m_pDocument->m_palette[static_cast<std::size_t>(index)]));
}

void CPalvaneView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    OnDraw(&painter, false, event->rect());
}

void CPalvaneView::resizeEvent(QResizeEvent*)
{
    // Every size lays the grid out anew.
    update();
}

void CPalvaneView::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF position = event->position();
    OnMouseMove(QPoint(static_cast<int>(std::floor(position.x())),
                       static_cast<int>(std::floor(position.y()))));
}

void CPalvaneView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        OnLButtonDown(event->modifiers().testFlag(Qt::ShiftModifier));
}

void CPalvaneView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        OnLButtonDblClk();
}

void CPalvaneView::keyPressEvent(QKeyEvent* event)
{
    // Keys with Ctrl or Alt belong to the commands.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier) &&
        OnKeyDown(event->key(), modifiers == Qt::ShiftModifier))
        return;
    QWidget::keyPressEvent(event);
}

void CPalvaneView::focusInEvent(QFocusEvent* event)
{
    // The current cell is marked while the view has the focus.
    update();
    QWidget::focusInEvent(event);
}

void CPalvaneView::focusOutEvent(QFocusEvent* event)
{
    update();
    QWidget::focusOutEvent(event);
}
