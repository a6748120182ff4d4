#include "document/CPalvaneDoc.h"

#include "document/DocumentHints.h"
#include "document/PaletteChangeListener.h"
#include "framework/CArchive.h"
#include "res/CommandIds.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

const CommandMapEntry kCommands[] = {
    {ID_PALETTE_GRADIENT, &CPalvaneDoc::OnPaletteGradient, &CPalvaneDoc::OnUpdatePaletteGradient},
    {ID_FILE_EXPORT_JASC, &CPalvaneDoc::OnFileExportJasc},
    {ID_PALETTE_COLORIZE, &CPalvaneDoc::OnPaletteColorize, &CPalvaneDoc::OnUpdatePaletteColorize},
    {ID_FILE_EXPORT_DFPAL, &CPalvaneDoc::OnFileExportDfpal},
    {ID_FILE_IMPORT_DFPAL, &CPalvaneDoc::OnFileImportDfpal},
    {ID_FILE_IMPORT_XWA, &CPalvaneDoc::OnFileImportXwa},
    {ID_FILE_IMPORT_PALETTE, &CPalvaneDoc::OnFileImportPalette},
    {ID_FILE_EXPORT_GPL, &CPalvaneDoc::OnFileExportGpl},
    {ID_FILE_EXPORT_RIFF, &CPalvaneDoc::OnFileExportRiff},
    {ID_FILE_EXPORT_ACT, &CPalvaneDoc::OnFileExportAct},
    {ID_FILE_EXPORT_PAINTNET, &CPalvaneDoc::OnFileExportPaintNet},
    {ID_FILE_EXPORT_HEX, &CPalvaneDoc::OnFileExportHex},
    {ID_FILE_EXPORT_SWATCH, &CPalvaneDoc::OnFileExportSwatch,
     &CPalvaneDoc::OnUpdateFileExportSwatch},
    {ID_EDIT_COPY, &CPalvaneDoc::OnEditCopy, &CPalvaneDoc::OnUpdateEditCopy},
    {ID_EDIT_PASTE, &CPalvaneDoc::OnEditPaste},
    {ID_EDIT_SELECT_ALL, &CPalvaneDoc::OnEditSelectAll},
};

} // namespace

constinit const CommandMap CPalvaneDoc::commandMap{&CDocument::commandMap, kCommands};

CPalvaneDoc::CPalvaneDoc() : m_palette{}, m_nSelStart(-1), m_nSelEnd(-1), m_recordedPalette{}
{
    g_colorWhite = ColorTriple(255, 255, 255);
    g_colorBlack = ColorTriple(0, 0, 0);
}

CPalvaneDoc::~CPalvaneDoc() = default;

bool CPalvaneDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return false;
    m_palette.fill(ColorTriple(128, 128, 128));
    StartPaletteHistory();
    return true;
}

bool CPalvaneDoc::OnOpenDocument(const std::string& path)
{
    if (!CDocument::OnOpenDocument(path))
        return false;
    StartPaletteHistory();
    return true;
}

bool CPalvaneDoc::OnCmdMsg(unsigned id)
{
    // Only the document's own commands: one of its base's may close it
    // (File, Close), and nothing of it may be touched after that.
    if (std::none_of(std::begin(kCommands), std::end(kCommands),
                     [id](const CommandMapEntry& entry) { return entry.id == id; }))
        return CDocument::OnCmdMsg(id);
    // Put back when the command ends, even by an exception.
    struct Restore {
        std::optional<CellRun>& selection;
        std::optional<CellRun> outer;
        ~Restore() { selection = outer; }
    } restore{m_commandSelection, std::exchange(m_commandSelection, Selection())};
    return CDocument::OnCmdMsg(id);
}

void CPalvaneDoc::Serialize(CArchive& archive)
{
    if (archive.IsStoring())
        WriteColormap(archive);
    else
        ReadColormap(archive);
}

void CPalvaneDoc::NotifyPaletteChanged(std::string_view action, const CellRun& cells)
{
    PaletteChange change(action, cells, m_recordedPalette, m_palette,
                         m_commandSelection.value_or(Selection()), Selection());
    m_recordedPalette = m_palette;
    if (!change.IsEmpty() && m_pChangeListener != nullptr)
        m_pChangeListener->OnPaletteChanged(*this, std::move(change));
    SetModifiedFlag(true);
    UpdateAllViews(nullptr, 0, nullptr);
}

void CPalvaneDoc::ApplyPaletteChange(const PaletteChange& change,
                                     PaletteChange::Direction direction, bool modified)
{
    CellRun selection = Selection();
    change.WriteTo(m_palette, selection, direction);
    m_nSelStart = selection.first;
    m_nSelEnd = selection.last;
    m_recordedPalette = m_palette;
    SetModifiedFlag(modified);
    UpdateAllViews(nullptr, 0, nullptr);
}

void CPalvaneDoc::StartPaletteHistory()
{
    m_recordedPalette = m_palette;
    if (m_pChangeListener != nullptr)
        m_pChangeListener->OnPaletteHistoryStarted(*this, !IsModified());
}

void CPalvaneDoc::SetPaletteChangeListener(PaletteChangeListener* listener)
{
    m_pChangeListener = listener;
    StartPaletteHistory();
}

bool CPalvaneDoc::ReloadFromFile()
{
    CPalvaneDoc reread;
    if (GetPathName().empty() || !reread.OnOpenDocument(GetPathName()))
        return false;
    m_palette = reread.m_palette;
    m_tables.TakeStored(reread.m_tables);
    SetFileStamp(reread.GetFileStamp());
    SetModifiedFlag(false);
    StartPaletteHistory();
    UpdateAllViews(nullptr);
    return true;
}

void CPalvaneDoc::ShowColorBeingChosen(int cell, const ColorTriple& color)
{
    ColorBeingChosen choice{cell, color};
    UpdateAllViews(nullptr, kHintColorBeingChosen, &choice);
}

void CPalvaneDoc::EndColorBeingChosen()
{
    UpdateAllViews(nullptr, kHintColorChoiceEnded, nullptr);
}
