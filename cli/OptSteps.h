#pragma once

#include <iosfwd>
#include <string>

struct CliStep;
class CPalvaneDoc;
class ScriptedUserInterface;

// --import-opt FILE[:N]: the texture import command, its file chooser
// answered with FILE and its texture chooser with OK on row N. A row the
// model does not have is a failure with its own message.
bool RunImportOptStep(CPalvaneDoc& document, ScriptedUserInterface& ui, const CliStep& step);

// --opt-info FILE: reads the model as the import does and prints it as one
// line of JSON.
bool RunOptInfoStep(const std::string& path, std::ostream& out);
