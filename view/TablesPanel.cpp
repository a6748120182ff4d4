#include "view/TablesPanel.h"

#include "document/CPalvaneDoc.h"
#include "document/SelectionClick.h"
#include "document/TablePictures.h"
#include "document/TableText.h"
#include "framework/DocumentView.h"
#include "framework/MessagePane.h"
#include "framework/UserInterface.h"
#include "view/CPalvaneView.h"
#include "view/TablePictureWidget.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QVBoxLayout>

#include <utility>

namespace {

constexpr int kEntries = 256;
constexpr int kLevels = 64;
constexpr int kBrightest = kLevels - 1;
constexpr int kGridColumns = table_pictures::kGridColumns;

QLabel* Title(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

// Hears the followed document's changes as one of its views.
class TablesPanel::DocumentWatch : public DocumentView {
public:
    explicit DocumentWatch(TablesPanel& panel) : m_panel(panel) {}
    void OnUpdate(DocumentView*, std::intptr_t hint, void* hintObject) override
    {
        m_panel.OnDocumentUpdate(hint, hintObject);
    }

private:
    TablesPanel& m_panel;
};

TablesPanel::TablesPanel(QWidget* parent)
    : QDockWidget(QStringLiteral("Tables"), parent),
      m_worker([this](const TablePicturesWorker::Result& result) { OnTablesReady(result); })
{
    setObjectName(QStringLiteral("tablesPanel"));
    // Shown and hidden from the View menu, which remembers the choice.
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);

    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);

    layout->addWidget(Title(QStringLiteral("Light levels"), content));
    m_pLightLevels = new TablePictureWidget(QSize(kEntries, kLevels), content);
    m_pLightLevels->setObjectName(QStringLiteral("lightLevels"));
    m_pLightLevels->SetRowLabels({0, 16, 32, 48, 63});
    layout->addWidget(m_pLightLevels, 1);

    auto* levelRow = new QHBoxLayout;
    m_pLevelLabel = Title(QString(), content);
    m_pLevel = new QSlider(Qt::Horizontal, content);
    m_pLevel->setObjectName(QStringLiteral("level"));
    m_pLevel->setRange(0, kBrightest);
    m_pLevel->setValue(kBrightest);
    levelRow->addWidget(m_pLevelLabel);
    levelRow->addWidget(m_pLevel, 1);
    layout->addLayout(levelRow);
    m_pGrid = new TablePictureWidget(QSize(kGridColumns, kEntries / kGridColumns), content);
    m_pGrid->setObjectName(QStringLiteral("grid"));
    layout->addWidget(m_pGrid, 2);

    m_pTranslucencyTitle = Title(QStringLiteral("Translucency"), content);
    layout->addWidget(m_pTranslucencyTitle);
    m_pTranslucency = new TablePictureWidget(QSize(kEntries, kEntries), content);
    m_pTranslucency->setObjectName(QStringLiteral("translucency"));
    layout->addWidget(m_pTranslucency, 4);
    m_pTranslucencyLine = new QLabel(content);
    m_pTranslucencyLine->setObjectName(QStringLiteral("translucencyLine"));
    m_pTranslucencyLine->setWordWrap(true);
    layout->addWidget(m_pTranslucencyLine);

    m_pComparison = new QLabel(content);
    m_pComparison->setObjectName(QStringLiteral("comparison"));
    m_pComparison->setWordWrap(true);
    layout->addWidget(m_pComparison);
    m_pShowStored = new QPushButton(QStringLiteral("Show the File's Tables"), content);
    m_pShowStored->setObjectName(QStringLiteral("showStored"));
    m_pShowStored->setCheckable(true);
    layout->addWidget(m_pShowStored, 0, Qt::AlignLeft);

    auto* scroll = new QScrollArea;
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    setWidget(scroll);

    connect(m_pLevel, &QSlider::valueChanged, this, [this] { ShowTables(); });
    connect(m_pShowStored, &QPushButton::toggled, this, [this] { ShowTables(); });
    const std::pair<TablePictureWidget*, Picture> pictures[] = {
        {m_pLightLevels, Picture::lightLevels},
        {m_pGrid, Picture::grid},
        {m_pTranslucency, Picture::translucency},
    };
    for (const auto& [widget, picture] : pictures) {
        connect(widget, &TablePictureWidget::PixelPointed, this,
                [this, picture = picture](int x, int y) { OnPixelPointed(picture, x, y); });
        connect(widget, &TablePictureWidget::PixelClicked, this,
                [this, picture = picture](int x, int y) { OnPixelClicked(picture, x, y); });
    }
    ShowTables();
}

TablesPanel::~TablesPanel()
{
    Detach();
}

void TablesPanel::Follow(CPalvaneView* view)
{
    if (view == nullptr || view == m_pView)
        return;
    Detach();
    m_pView = view;
    m_pDocument = view->GetDocument();
    m_pWatch = std::make_unique<DocumentWatch>(*this);
    m_pDocument->AddView(m_pWatch.get());
    // The view goes before its document does: the panel lets go of both.
    m_viewGoes = connect(view, &QObject::destroyed, this, [this] {
        Detach();
        m_shown.reset();
        ShowTables();
    });
    RequestTables();
}

void TablesPanel::Detach()
{
    disconnect(m_viewGoes);
    if (m_pDocument != nullptr && m_pWatch != nullptr)
        m_pDocument->RemoveView(m_pWatch.get());
    m_pWatch.reset();
    m_pView = nullptr;
    m_pDocument = nullptr;
    m_choice.reset();
    m_worker.Cancel();
    m_bWaiting = false;
}

void TablesPanel::OnDocumentUpdate(std::intptr_t hint, void* hintObject)
{
    if (hint == kHintColorBeingChosen && hintObject != nullptr)
        m_choice = *static_cast<const ColorBeingChosen*>(hintObject);
    else
        m_choice.reset();
    RequestTables();
}

void TablesPanel::Refresh()
{
    if (m_pDocument == nullptr || m_bWaiting || m_bStale || !m_shown.has_value())
        return;
    const TablePicturesWorker::Request& shown = m_shown->request;
    const DocumentTables& tables = m_pDocument->GetTables();
    if (shown.palette != PaletteShown() || shown.stored != tables.Stored() ||
        shown.transparencyAnswer != tables.TransparencyAnswer())
        RequestTables();
}

bool TablesPanel::IsUpToDate() const
{
    return !m_bWaiting && m_worker.IsIdle();
}

colormap_tables::Palette TablesPanel::PaletteShown() const
{
    colormap_tables::Palette palette = m_pDocument->m_palette;
    if (m_choice.has_value())
        palette[static_cast<std::size_t>(m_choice->cell)] = m_choice->color;
    return palette;
}

void TablesPanel::showEvent(QShowEvent* event)
{
    QDockWidget::showEvent(event);
    if (std::exchange(m_bStale, false))
        RequestTables();
}

void TablesPanel::RequestTables()
{
    if (m_pDocument == nullptr)
        return;
    // A hidden panel computes nothing until it shows.
    if (isHidden()) {
        m_bStale = true;
        return;
    }
    const DocumentTables& tables = m_pDocument->GetTables();
    TablePicturesWorker::Request request;
    request.maker = tables.Maker();
    request.palette = PaletteShown();
    request.stored = tables.Stored();
    request.transparencyAnswer = tables.TransparencyAnswer();
    request.withTransparency = request.transparencyAnswer == IDYES ||
                               (request.stored != nullptr && request.stored->HasTransparency());
    m_bWaiting = true;
    m_worker.Start(std::move(request));
}

void TablesPanel::OnTablesReady(const TablePicturesWorker::Result& result)
{
    m_bWaiting = false;
    m_shown = result;
    ShowTables();
}

void TablesPanel::ShowTables()
{
    const int level = m_pLevel->value();
    m_pLevelLabel->setText(QStringLiteral("Light level %1").arg(level));
    if (!m_shown.has_value()) {
        for (TablePictureWidget* picture : {m_pLightLevels, m_pGrid, m_pTranslucency})
            picture->SetPicture(QImage());
        m_pTranslucencyLine->hide();
        m_pComparison->setText(QString());
        m_pShowStored->setEnabled(false);
        return;
    }
    const TablePicturesWorker::Result& shown = *m_shown;
    const colormap_tables::Palette& palette = shown.tables->palette;
    const bool stored = m_pShowStored->isChecked() && shown.request.stored != nullptr;
    const colormap_tables::Tables& tables = stored ? *shown.request.stored : *shown.tables;

    m_pLightLevels->SetPicture(stored ? TablePictureWidget::ToImage(table_pictures::LightLevels(
                                            palette, tables.lightLevels))
                                      : shown.lightLevels);
    m_pGrid->SetPicture(TablePictureWidget::ToImage(
        table_pictures::GridAtLevel(palette, tables.lightLevels, level, 1)));

    const bool translucency =
        stored ? tables.HasTransparency() : shown.request.transparencyAnswer == IDYES;
    m_pTranslucencyTitle->setVisible(translucency);
    m_pTranslucency->setVisible(translucency);
    m_pTranslucencyLine->setVisible(!translucency);
    if (translucency)
        m_pTranslucency->SetPicture(stored
                                        ? TablePictureWidget::ToImage(table_pictures::Translucency(
                                              palette, tables.transparency))
                                        : shown.translucency);
    else
        m_pTranslucencyLine->setText(stored ? kNoStoredTranslucency
                                     : shown.request.transparencyAnswer == IDNO
                                         ? kTranslucencyNotWritten
                                         : kTranslucencyAsked);

    m_pComparison->setText(QString::fromStdString(
        TableComparisonText(shown.changes.has_value() ? &*shown.changes : nullptr)));
    m_pShowStored->setEnabled(shown.request.stored != nullptr);
}

bool TablesPanel::EntryAt(Picture picture, int x, int y, int& row, int& column, int& result) const
{
    if (!m_shown.has_value())
        return false;
    const bool stored = m_pShowStored->isChecked() && m_shown->request.stored != nullptr;
    const colormap_tables::Tables& tables = stored ? *m_shown->request.stored : *m_shown->tables;
    switch (picture) {
    case Picture::lightLevels:
        row = y;
        column = x;
        break;
    case Picture::grid:
        row = m_pLevel->value();
        column = y * kGridColumns + x;
        break;
    case Picture::translucency:
        if (!tables.HasTransparency())
            return false;
        row = y;
        column = x;
        result = tables.transparency[static_cast<std::size_t>(row * kEntries + column)];
        return true;
    }
    result = tables.lightLevels[static_cast<std::size_t>(row * kEntries + column)];
    return true;
}

void TablesPanel::OnPixelPointed(Picture picture, int x, int y)
{
    int row = 0, column = 0, result = 0;
    MessagePane* pane = AfxGetMessagePane();
    if (pane == nullptr || !EntryAt(picture, x, y, row, column, result))
        return;
    const ColorTriple& color = m_shown->tables->palette[static_cast<std::size_t>(result)];
    pane->SetMessageText(picture == Picture::translucency
                             ? TranslucencyStatusText(row, column, result, color)
                             : LightLevelStatusText(row, column, result, color));
}

void TablesPanel::OnPixelClicked(Picture picture, int x, int y)
{
    int row = 0, column = 0, result = 0;
    if (m_pDocument == nullptr || !EntryAt(picture, x, y, row, column, result))
        return;
    ApplySelectionClick(*m_pDocument, result, false);
    // Not a change of the palette: every view shows the new selection.
    m_pDocument->UpdateAllViews(nullptr);
    emit SelectionChanged();
}
