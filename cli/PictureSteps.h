#pragma once

struct CliStep;
class CPalvaneDoc;

// --render-light FILE, --render-translucency FILE, --render-grid FILE[:LEVEL]:
// a picture of the tables a save of the document writes now, as a PNG file
// written completely or not at all. A file that cannot be written is a
// failure, told through a message box.
bool RunRenderStep(const CPalvaneDoc& document, const CliStep& step);
