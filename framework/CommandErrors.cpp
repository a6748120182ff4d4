#include "framework/CommandErrors.h"

#include "framework/CException.h"
#include "framework/CFileException.h"
#include "framework/UserInterface.h"

#include <string>

void AfxReportCommandError(const CException& error)
{
    std::string message;
    if (!error.GetErrorMessage(message))
        message = CFileException::MessageFor(CFileException::genericException, {});
    AfxMessageBox(message, MB_ICONSTOP);
}
