#pragma once

#include <string>

// The framework's own texts that document opening, saving and closing, and
// commands that fail, can show. "%1" stands for a name filled in when the text is shown.
namespace framework_messages {

inline constexpr const char* kInvalidFilename = "Invalid filename.";
inline constexpr const char* kFailedToOpenDocument = "Failed to open document.";
inline constexpr const char* kFailedToSaveDocument = "Failed to save document.";
inline constexpr const char* kAskToSave = "Save changes to %1?";
inline constexpr const char* kAskToReplaceChangedFile =
    "%1 has been changed by another program since it was opened. Replace it with this version?";
inline constexpr const char* kAskToReloadChangedFile =
    "%1 has been changed by another program. Reload it?";
inline constexpr const char* kFailedToCreateDocument = "Failed to create empty document.";
inline constexpr const char* kUnexpectedFileFormat = "Unexpected file format.";
inline constexpr const char* kOutOfMemory = "Out of memory.";
inline constexpr const char* kCommandFailed = "Command failed.";
inline constexpr const char* kFailedToStartPrint = "Could not start print job.";
inline constexpr const char* kAllFilesFilter = "All Files (*.*)";
inline constexpr const char* kOpenTitle = "Open";
inline constexpr const char* kSaveAsTitle = "Save As";

} // namespace framework_messages

// `text` with its first "%1" replaced by `argument`.
std::string AfxFormatString1(const std::string& text, const std::string& argument);
