#pragma once

#include "document/CellRun.h"
#include "document/ColorTriple.h"
#include "document/DocumentTables.h"
#include "document/PaletteChange.h"
#include "framework/CDocument.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CArchive;
class CCmdUI;
class PaletteChangeListener;
namespace palette_formats {
class PaletteCodec;
}

// One open colormap: its 256-colour palette and the selected run of cells.
// Views and commands read and write the fields directly.
class CPalvaneDoc : public CDocument {
public:
    static constexpr int kPaletteSize = 256;
    using Palette = std::array<ColorTriple, kPaletteSize>;
    static_assert(kPaletteSize == PaletteChange::kPaletteSize);
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
    // A save marks the state the history counts as unmodified.
    bool OnSaveDocument(const std::string& path) override;

    // The index of the palette entry nearest to `color` by squared RGB
    // distance; ties go to the lowest index. It scans the whole palette; the
    // tables of a save use NearestColorSearch, which gives the same answers.
    int FindNearestColor(const ColorTriple& color) const;
    void WriteLightLevelTables(CArchive& archive) const;
    void WriteTransparencyTable(CArchive& archive) const;

    // Ends every operation that writes palette entries: records what the
    // operation changed as one step of the palette's history, named after
    // `action` and the `cells` it worked on (see PaletteChange), then marks
    // the document modified and has every view redraw.
    void NotifyPaletteChanged(std::string_view action = {}, const CellRun& cells = {});
    // Takes a recorded step back or does it again: the palette and the
    // selection as they were before or after it, the modified flag set to
    // `modified`, and every view redrawn. This is not itself recorded.
    void ApplyPaletteChange(const PaletteChange& change, PaletteChange::Direction direction,
                            bool modified);
    // The palette as it is now starts its history afresh: new, opened, read
    // again or restored, it was not made by an edit that could be undone.
    void StartPaletteHistory();
    // `listener` (not owned, nullptr for none) hears of every change from
    // now on; the history starts at the palette as it is.
    void SetPaletteChangeListener(PaletteChangeListener* listener);

    // One of the document's commands may move the selection along with
    // the palette (Paste selects what it pasted): the step it records keeps
    // the selection it started from.
    bool OnCmdMsg(unsigned id) override;
    bool OnOpenDocument(const std::string& path) override;
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
    // A palette file of any format the codecs know, recognised by its
    // content, fills the cells from the selection's start (cell 0 without a
    // selection; a palette of 256 colours or more fills the whole palette
    // with its first 256) and becomes the selection; the other cells keep
    // their colours. Ends in NotifyPaletteChanged(). A file that cannot be
    // read, is in no known format or is malformed raises CFileException or
    // FileFormatException and changes nothing. Returns what was done, which
    // also goes to the status bar: "Cells 32–47 (16 colours) from x.gpl".
    std::string ImportPaletteFile(const std::string& path);
    std::string ImportPaletteFile(const std::string& path,
                                  const std::vector<const palette_formats::PaletteCodec*>& codecs);
    // Writes the palette to `path` in `codec`'s format, completely or not at
    // all, as a save writes. Returns what the user should know about the
    // file written, or nothing.
    std::string ExportPaletteFile(const std::string& path,
                                  const palette_formats::PaletteCodec& codec) const;
    // File, Import From, Palette File: a palette file of any format the
    // program reads, imported as ImportPaletteFile does.
    void OnFileImportPalette();
    // File, Export As, in the formats of other palette programs.
    void OnFileExportGpl();
    void OnFileExportRiff();
    void OnFileExportAct();
    void OnFileExportPaintNet();
    void OnFileExportHex();
    // The swatch image needs an image library; the editor has one.
    void OnFileExportSwatch();
    void OnUpdateFileExportSwatch(CCmdUI* cmdUI);
    // File, Import From, X-Wing Alliance Texture: the palette of one texture
    // of a model file the user picks.
    void OnFileImportXwa();
    // Edit, Copy: the selected run onto the clipboard as text, one
    // "#RRGGBB" line per cell. Needs a selection.
    void OnEditCopy();
    void OnUpdateEditCopy(CCmdUI* cmdUI);
    // Edit, Paste: the colours of the clipboard's text into consecutive
    // cells from the selection's start (cell 0 without one), as many as fit
    // before the palette ends; the pasted cells become the selection. Text
    // without a colour changes nothing, and the status bar says why.
    void OnEditPaste();
    // Edit, Select All: cells 0 to 255.
    void OnEditSelectAll();

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
    // Asks for a file name and writes the palette there in `codec`'s format.
    void ExportPaletteAs(const palette_formats::PaletteCodec* codec);
    void ReadColormap(CArchive& archive);
    void WriteColormap(CArchive& archive);
    bool ConfirmReplacingForeignTables();
    CellRun Selection() const { return CellRun{m_nSelStart, m_nSelEnd}; }

    // The palette as the last recorded step, or the start of the history,
    // left it: the next step is the difference from it.
    Palette m_recordedPalette;
    // The selection when the running command started.
    std::optional<CellRun> m_commandSelection;
    PaletteChangeListener* m_pChangeListener = nullptr;
    DocumentTables m_tables;
};
