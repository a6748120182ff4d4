#pragma once

#include "framework/UserInterface.h"

#include <string>

// What the framework knows about one kind of document: its document string
// (seven fields separated by line feeds: window title, document name,
// file-new name, filter name, filter extension, file type id, file type name)
// and the running number of its untitled documents.
class CDocTemplate {
public:
    enum DocStringIndex {
        windowTitle = 0,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName,
    };

    explicit CDocTemplate(std::string documentString);
    virtual ~CDocTemplate() = default;

    // The field, or false and an empty string when the document string has no such field.
    bool GetDocString(std::string& value, DocStringIndex index) const;
    std::string GetDocString(DocStringIndex index) const;

    // The title of the next untitled document: the document name followed by
    // a number that starts at 1.
    std::string NextUntitledTitle();

    // The Open or Save As request for documents of this kind: this kind's
    // filter first, then "All Files (*.*)".
    FileDialogRequest MakeFileDialogRequest(bool open, const std::string& initialName,
                                            unsigned flags) const;
    // Shows the Open or Save As chooser; on IDOK `fileName` holds the path chosen.
    bool DoPromptFileName(std::string& fileName, bool open, unsigned flags) const;

private:
    std::string m_documentString;
    int m_nUntitledCount = 0;
};
