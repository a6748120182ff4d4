#include "document/CPalvaneDoc.h"

#include "document/DocumentHints.h"
#include "framework/CArchive.h"
#include "res/CommandIds.h"

namespace {

const CommandMapEntry kCommands[] = {
    {ID_PALETTE_GRADIENT, &CPalvaneDoc::OnPaletteGradient, &CPalvaneDoc::OnUpdatePaletteGradient},
    {ID_FILE_EXPORT_JASC, &CPalvaneDoc::OnFileExportJasc},
    {ID_PALETTE_COLORIZE, &CPalvaneDoc::OnPaletteColorize, &CPalvaneDoc::OnUpdatePaletteColorize},
    {ID_FILE_EXPORT_DFPAL, &CPalvaneDoc::OnFileExportDfpal},
    {ID_FILE_IMPORT_DFPAL, &CPalvaneDoc::OnFileImportDfpal},
    {ID_FILE_IMPORT_XWA, &CPalvaneDoc::OnFileImportXwa},
};

} // namespace

constinit const CommandMap CPalvaneDoc::commandMap{&CDocument::commandMap, kCommands};

CPalvaneDoc::CPalvaneDoc() : m_palette{}, m_nSelStart(-1), m_nSelEnd(-1)
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
    return true;
}

void CPalvaneDoc::Serialize(CArchive& archive)
{
    if (archive.IsStoring())
        WriteColormap(archive);
    else
        ReadColormap(archive);
}

void CPalvaneDoc::NotifyPaletteChanged()
{
    SetModifiedFlag(true);
    UpdateAllViews(nullptr, 0, nullptr);
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
