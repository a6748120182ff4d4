#pragma once

#include "document/ColorTriple.h"
#include "document/DocumentTables.h"
#include "framework/CDocument.h"

#include <array>
#include <cstdint>

class CArchive;
class CCmdUI;

// One open colormap: its 256-colour palette and the selected run of cells.
// Views and commands read and write the fields directly.
class CPalvaneDoc : public CDocument {
public:
    static constexpr int kPaletteSize = 256;
    using Palette = std::array<ColorTriple, kPaletteSize>;
    static constexpr const char* kTransparencyQuestion =
        "Would you like to encode transparency information?";
    static constexpr const char* kNotACmpFile = "Not a CMP File.";
    static constexpr const char* kReplaceForeignTablesQuestion =
        "This colormap's tables were not made from its palette by Palvane; saving replaces "
        "them. Save anyway?";

    CPalvaneDoc();
    ~CPalvaneDoc() override;

    // A new colormap: every entry (128, 128, 128). The selection is kept.
    bool OnNewDocument() override;

    // Loading reads the palette of a colormap file; storing writes a complete
    // colormap with tables computed from the palette.
    void Serialize(CArchive& archive) override;
    // The first save of a colormap whose file holds tables made otherwise
    // than from its palette asks before replacing them; No cancels the save.
    bool OnSaveDocument(const std::string& path) override;

    // The index of the palette entry nearest to `color` by squared RGB
    // distance; ties go to the lowest index. It scans the whole palette; the
    // tables of a save use NearestColorSearch, which gives the same answers.
    int FindNearestColor(const ColorTriple& color) const;
    void WriteLightLevelTables(CArchive& archive) const;
    void WriteTransparencyTable(CArchive& archive) const;

    // Ends every operation that writes palette entries: marks the document
    // modified, then has every view redraw.
    void NotifyPaletteChanged();
    // Reads the document's file again, as another program left it: the
    // palette is replaced, the selection kept, and every view redraws. A
    // file that cannot be read is reported and leaves the document as it was.
    bool ReloadFromFile();

    // The tables the file holds and the maker of those the next save writes.
    const DocumentTables& GetTables() const { return m_tables; }
    // While the colour chooser is open on `cell`, the views that follow the
    // palette may show `color` there; the palette is not changed. The end
    // of a choice that was cancelled is told too (a confirmed one changes
    // the palette, which is told anyway).
    void ShowColorBeingChosen(int cell, const ColorTriple& color);
    void EndColorBeingChosen();

    // Commands; the command map routes them and asks their enable rules.
    // Gradient: the cells strictly inside the selected run become a linear
    // blend of its two ends. Needs a run of two cells or more.
    void OnPaletteGradient();
    void OnUpdatePaletteGradient(CCmdUI* cmdUI);
    // Colorize: asks for a colour and re-tints every selected cell towards it
    // by the cell's brightness. Needs a selection.
    void OnPaletteColorize();
    void OnUpdatePaletteColorize(CCmdUI* cmdUI);
    // Palette files of other programs. Exports write completely or not at
    // all; the import changes the palette only once the file has been read,
    // and a file that does not look like a Dark Forces palette only when the
    // user says so.
    void OnFileExportDfpal();
    void OnFileImportDfpal();
    void OnFileExportJasc();
    // File, Import From, X-Wing Alliance Texture: the palette of one texture
    // of a model file the user picks.
    void OnFileImportXwa();

    static const CommandMap commandMap;

    Palette m_palette;
    std::int32_t m_nSelStart;
    std::int32_t m_nSelEnd;

protected:
    const CommandMap* GetCommandMap() const override { return &commandMap; }
    // What a colormap file holds before its tables: the header, which says
    // whether the transparency table follows, and the palette.
    void WriteHeaderAndPalette(CArchive& archive, bool withTransparency) const;

private:
    void ReadColormap(CArchive& archive);
    void WriteColormap(CArchive& archive);
    bool ConfirmReplacingForeignTables();

    DocumentTables m_tables;
};
