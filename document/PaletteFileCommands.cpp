// File, Import From, Palette File and the Export As items for the palette
// formats of other programs: each asks for a file and hands it to the
// document's import or export of that format.

#include "document/CPalvaneDoc.h"
#include "document/palette_formats/ProgramPaletteCodecs.h"
#include "framework/CCmdUI.h"
#include "framework/CFileDialog.h"
#include "framework/MessagePane.h"

#include <string>

namespace {

using palette_formats::CodecFor;
using palette_formats::PaletteFormat;

constexpr unsigned kOpenFlags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
constexpr unsigned kSaveFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;

} // namespace

void CPalvaneDoc::OnFileImportPalette()
{
    const palette_formats::CodecList& codecs = palette_formats::ProgramPaletteCodecs();
    const std::string filter = palette_formats::OpenPaletteFilter(codecs);
    CFileDialog dialog(true, nullptr, nullptr, kOpenFlags, filter.c_str());
    if (dialog.DoModal() == IDOK)
        ImportPaletteFile(dialog.GetPathName(), codecs);
}

void CPalvaneDoc::ExportPaletteAs(const palette_formats::PaletteCodec* codec)
{
    if (codec == nullptr)
        return; // the enable rule keeps the command from a program without it
    const std::string defaultExtension(codec->Extensions().front());
    const std::string filter = palette_formats::SavePaletteFilter(*codec);
    CFileDialog dialog(false, defaultExtension.c_str(), nullptr, kSaveFlags, filter.c_str());
    if (dialog.DoModal() != IDOK)
        return;
    const std::string note = ExportPaletteFile(dialog.GetPathName(), *codec);
    if (MessagePane* pane = AfxGetMessagePane(); pane != nullptr && !note.empty())
        pane->SetMessageText(note);
}

void CPalvaneDoc::OnFileExportGpl()
{
    ExportPaletteAs(&CodecFor(PaletteFormat::gimp));
}

void CPalvaneDoc::OnFileExportRiff()
{
    ExportPaletteAs(&CodecFor(PaletteFormat::riff));
}

void CPalvaneDoc::OnFileExportAct()
{
    ExportPaletteAs(&CodecFor(PaletteFormat::adobeColorTable));
}

void CPalvaneDoc::OnFileExportPaintNet()
{
    ExportPaletteAs(&CodecFor(PaletteFormat::paintNet));
}

void CPalvaneDoc::OnFileExportHex()
{
    ExportPaletteAs(&CodecFor(PaletteFormat::hexList));
}

void CPalvaneDoc::OnFileExportSwatch()
{
    ExportPaletteAs(palette_formats::ProgramCodecWriting("png"));
}

void CPalvaneDoc::OnUpdateFileExportSwatch(CCmdUI* cmdUI)
{
    cmdUI->Enable(palette_formats::ProgramCodecWriting("png") != nullptr);
}
