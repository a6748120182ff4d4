#pragma once

#include "framework/UserInterface.h"

#include <string>

class CDocument;

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

    // File New and File Open on a document fresh from its constructor. New
    // empties it and gives it the next untitled title; on failure it shows
    // "Failed to create empty document.". Open reads `path` into it and gives
    // it that file; on failure the error has been shown. Either way the
    // document belongs to this template.
    bool InitNewDocument(CDocument& document);
    bool InitOpenDocument(CDocument& document, const std::string& path);

    // The Open or Save As request for documents of this kind: this kind's
    // filter first, then "All Files (*.*)".
    FileDialogRequest MakeFileDialogRequest(bool open, const std::string& initialName,
                                            unsigned flags) const;
    // Shows the Open or Save As chooser; on IDOK `fileName` holds the path chosen.
    bool DoPromptFileName(std::string& fileName, bool open, unsigned flags) const;

    // What the host that keeps documents open does when a document of this
    // kind closes (close its windows, then destroy it) and when one is given
    // a file (list the file among the recent ones). palvane-cli keeps its one
    // document and its files itself, so the plain template does neither.
    virtual void RemoveDocument(CDocument* document);
    virtual void AddToRecentFileList(const std::string& path);
    // A document of this kind has a new title: the host retitles the
    // windows showing it.
    virtual void OnDocumentTitleChanged(CDocument* document);
    // A document of this kind was modified or is unmodified again: the host
    // marks its windows.
    virtual void OnDocumentModifiedChanged(CDocument* document);

private:
    std::string m_documentString;
    int m_nUntitledCount = 0;
};
