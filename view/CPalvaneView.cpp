#include "view/CPalvaneView.h"

#include "document/CPalvaneDoc.h"
#include "document/CellText.h"
#include "document/GridLayout.h"
#include "document/SelectionClick.h"
#include "framework/CColorDialog.h"
#include "framework/MessagePane.h"
#include "framework/qt/PrinterSetup.h"
#include "res/CommandIds.h"
#include "view/CMemDC.h"

#include <QFontMetrics>
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

// Paints the button face over the area wherever no cell will be drawn. A
// cell at least 2 by 2 paints every pixel of its frame and of itself, so
// the face is put only around the frames: the same picture as filling the
// whole area first, at half the memory traffic on a large view.
void FillBackground(QPainter& painter, const QRect& area, const GridLayout& layout,
                    const QColor& face)
{
    if (layout.CellWidth() < 2 || layout.CellHeight() < 2) {
        painter.fillRect(area, face);
        return;
    }
    const auto fill = [&](int left, int top, int right, int bottom) {
        if (right > left && bottom > top)
            painter.fillRect(left, top, right - left, bottom - top, face);
    };
    const int areaRight = area.right() + 1;
    int top = area.top();
    for (int row = 0; row < GridLayout::kCells; row += GridLayout::kColumns) {
        const GridRect first = layout.CellRect(row);
        const int frameTop = first.top - 1;
        const int frameBottom = first.bottom + 1;
        fill(area.left(), top, areaRight, frameTop);
        int left = area.left();
        for (int column = 0; column < GridLayout::kColumns; ++column) {
            const GridRect cell = layout.CellRect(row + column);
            fill(left, frameTop, cell.left - 1, frameBottom);
            left = cell.right + 1;
        }
        fill(left, frameTop, areaRight, frameBottom);
        top = frameBottom;
    }
    fill(area.left(), top, areaRight, area.bottom() + 1);
}

GridRect ToGridRect(const QRect& area)
{
    return GridRect{area.left(), area.top(), area.right() + 1, area.bottom() + 1};
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
    m_pDocument->AddView(this);
}

CPalvaneView::~CPalvaneView()
{
    m_pDocument->RemoveView(this);
}

void CPalvaneView::OnUpdate(DocumentView*, std::intptr_t, void*)
{
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
    if (!printing)
        FillBackground(*dc, area, GridLayout(ToGridRect(area), m_nGap),
                       palette().color(QPalette::Button));
    DrawGrid(dc, area);
}

void CPalvaneView::DrawGrid(CMemDC& dc, const QRect& area)
{
    const GridLayout layout(ToGridRect(area), m_nGap);
    const CPalvaneDoc& document = *m_pDocument;
    const bool printing = dc.IsPrinting();
    QPainter& painter = *dc;
    const int labelAscent = painter.fontMetrics().ascent();
    painter.save();
    for (int i = 0; i < GridLayout::kCells; ++i) {
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
    painter.restore();
    m_nCellWidth = layout.CellWidth();
    m_nCellHeight = layout.CellHeight();
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
    // Print Setup's printer, or else the default one; the dialog when there is neither.
    PrinterSetup::ApplyTo(printer);
    if (!askUser) {
        if (printer.printerName().isEmpty()) {
            const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
            if (!defaultPrinter.isNull())
                printer.setPrinterName(defaultPrinter.printerName());
        }
        if (!printer.printerName().isEmpty())
            return printer.isValid();
    }
    QPrintDialog dialog(&printer, this);
    return dialog.exec() == QDialog::Accepted && printer.isValid();
}

void CPalvaneView::OnFilePrint()
{
    QPrinter printer(QPrinter::HighResolution);
    if (OnPreparePrinting(printer, true))
        PrintJob(printer);
}

void CPalvaneView::OnFilePrintDirect()
{
    QPrinter printer(QPrinter::HighResolution);
    if (OnPreparePrinting(printer, false))
        PrintJob(printer);
}

void CPalvaneView::OnFilePrintPreview()
{
    QPrinter printer(QPrinter::HighResolution);
    if (OnPreparePrinting(printer, false))
        PrintPreview(printer);
}

bool CPalvaneView::PrintJob(QPrinter& printer)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    OnBeginPrinting(&painter, printer);
    OnPrint(&painter);
    OnEndPrinting(&painter, printer);
    painter.end();
    return true;
}

void CPalvaneView::PrintPreview(QPrinter& printer)
{
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* page) { PrintJob(*page); });
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
    if (MessagePane* pane = AfxGetMessagePane())
        pane->SetMessageText(CellStatusText(
            m_nHotCell, m_pDocument->m_palette[static_cast<std::size_t>(m_nHotCell)]));
}

void CPalvaneView::OnLButtonDown(bool shift)
{
    if (ApplySelectionClick(*m_pDocument, m_nHotCell, shift))
        update();
}

void CPalvaneView::OnLButtonDblClk()
{
    ColorTriple& entry = m_pDocument->m_palette[static_cast<std::size_t>(m_nHotCell)];
    CColorDialog dialog(entry.ToColorRef(), CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR);
    if (dialog.DoModal() != IDOK)
        return;
    entry = ColorTriple::FromColorRef(dialog.GetColor());
    m_pDocument->NotifyPaletteChanged();
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
