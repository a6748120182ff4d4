#pragma once

class CException;

// What the framework shows when a command ends by raising `error`: a message
// box with the stop icon and the error's own text (for a file error, the
// message for its cause with the file's path).
void AfxReportCommandError(const CException& error);
