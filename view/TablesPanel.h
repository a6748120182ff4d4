#pragma once

#include "document/DocumentHints.h"
#include "view/TablePicturesWorker.h"

#include <QDockWidget>

#include <memory>
#include <optional>

class CPalvaneDoc;
class CPalvaneView;
class QLabel;
class QPushButton;
class QSlider;
class TablePictureWidget;

// The tables of the active colormap as the next save writes them: the light
// levels (a row per level, level 0 at the top), the palette at one light
// level, and the translucency table when the next save writes it; beside
// them whether the file's own tables match, and those tables on request.
// Every palette change reaches it through the document's views, as does the
// colour the colour chooser shows before it is confirmed; the tables are
// computed on a thread of their own. Pointing at a picture tells what is
// under the pointer in the status bar; a click selects the resulting cell.
class TablesPanel : public QDockWidget {
    Q_OBJECT

public:
    static constexpr const char* kTranslucencyNotWritten =
        "The next save does not write the translucency table.";
    static constexpr const char* kTranslucencyAsked =
        "The next save asks whether to write the translucency table.";
    static constexpr const char* kNoStoredTranslucency = "The file holds no translucency table.";

    explicit TablesPanel(QWidget* parent = nullptr);
    ~TablesPanel() override;

    // Follows the document of `view`, until that view goes. nullptr keeps
    // the document followed.
    void Follow(CPalvaneView* view);
    CPalvaneDoc* Document() const { return m_pDocument; }
    // Catches up with what no view is told of: a save's answer to the
    // transparency question and the tables it wrote.
    void Refresh();
    // The pictures show the tables of the latest change.
    bool IsUpToDate() const;

signals:
    // A click on a picture selected a cell.
    void SelectionChanged();

protected:
    void showEvent(QShowEvent* event) override;

private:
    class DocumentWatch;
    enum class Picture { lightLevels, grid, translucency };

    void Detach();
    void OnDocumentUpdate(std::intptr_t hint, void* hintObject);
    colormap_tables::Palette PaletteShown() const;
    void RequestTables();
    void OnTablesReady(const TablePicturesWorker::Result& result);
    void ShowTables();
    // The entry under pixel (x, y) of a picture: the cell it stands for and
    // the index it maps to; false where no tables are shown.
    bool EntryAt(Picture picture, int x, int y, int& row, int& column, int& result) const;
    void OnPixelPointed(Picture picture, int x, int y);
    void OnPixelClicked(Picture picture, int x, int y);

    CPalvaneDoc* m_pDocument = nullptr;
    // The view followed, only ever compared, and the connection that lets go
    // of it when it goes.
    const CPalvaneView* m_pView = nullptr;
    QMetaObject::Connection m_viewGoes;
    std::unique_ptr<DocumentWatch> m_pWatch;
    // The colour the chooser shows on a cell, not yet the palette's.
    std::optional<ColorBeingChosen> m_choice;
    TablePicturesWorker m_worker;
    std::optional<TablePicturesWorker::Result> m_shown;
    bool m_bWaiting = false;
    // A change came while the panel was hidden.
    bool m_bStale = false;

    TablePictureWidget* m_pLightLevels;
    QSlider* m_pLevel;
    QLabel* m_pLevelLabel;
    TablePictureWidget* m_pGrid;
    QLabel* m_pTranslucencyTitle;
    TablePictureWidget* m_pTranslucency;
    QLabel* m_pTranslucencyLine;
    QLabel* m_pComparison;
    QPushButton* m_pShowStored;
};
