#pragma once

#include "document/ColormapTableMaker.h"
#include "document/TableComparison.h"

#include <memory>
#include <optional>

class CArchive;

// The tables beside a document's palette: those its file holds, and the
// maker of those the next save writes.
class DocumentTables {
public:
    using TablesPtr = ColormapTableMaker::TablesPtr;

    DocumentTables();

    // Shared with work on other threads (the tables panel), which may end
    // after the document.
    const std::shared_ptr<ColormapTableMaker>& Maker() const { return m_pMaker; }

    // The file's tables: its light levels and, when its header says that one
    // follows, its transparency table, with the palette read from the file.
    // Those the last save wrote once it has succeeded. nullptr when the file
    // holds no complete light-level tables, or the document has no file.
    const TablesPtr& Stored() const { return m_pStored; }
    // Reads what follows the palette of a colormap file, at most the sizes
    // the format gives its tables. A table cut short is not kept.
    void ReadStored(CArchive& archive, const colormap_tables::Palette& palette,
                    bool withTransparency);
    // The tables of another reading of the file (the document's file read again).
    void TakeStored(const DocumentTables& reread);

    // A save has written `tables` (the transparency table only when
    // `withTransparency`); once the save has succeeded, the file holds them.
    void Wrote(const TablesPtr& tables, bool withTransparency);
    void SaveEnded(bool succeeded);

    // Whether the stored tables are not those this program computes from
    // the palette stored with them: something else made or changed them.
    // Worked out once.
    bool StoredAreForeign() const;
    // How saving `palette` would change the stored tables, entry by entry;
    // nothing when there are none.
    std::optional<TableChanges> ChangesFor(const colormap_tables::Palette& palette) const;

    // Whether the user has agreed, once, that a save replaces foreign tables.
    bool ReplaceConfirmed() const { return m_bReplaceConfirmed; }
    void ConfirmReplace() { m_bReplaceConfirmed = true; }

    // The last answer to the save's transparency question: IDYES, IDNO, or 0
    // before the first save. The next save asks again; until then, this is
    // what it is expected to write.
    int TransparencyAnswer() const { return m_nTransparencyAnswer; }
    void SetTransparencyAnswer(int answer) { m_nTransparencyAnswer = answer; }

private:
    void SetStored(TablesPtr stored);

    std::shared_ptr<ColormapTableMaker> m_pMaker;
    TablesPtr m_pStored;
    TablesPtr m_pWritten;
    mutable std::optional<bool> m_storedAreForeign;
    bool m_bReplaceConfirmed = false;
    int m_nTransparencyAnswer = 0;
};
