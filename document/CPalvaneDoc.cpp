#include "document/CPalvaneDoc.h"

#include "framework/CArchive.h"

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
