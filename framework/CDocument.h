#pragma once

#include "framework/CCmdTarget.h"
#include "framework/FileStamp.h"

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

class CArchive;
class CDocTemplate;
class DocumentView;

// The base of documents: the modified flag, the path and title, the attached
// views, and the paths that create, open, save and close a document. Errors
// inside these paths are reported to the user here and never propagate.
class CDocument : public CCmdTarget {
public:
    CDocument() = default;
    ~CDocument() override = default;

    const std::string& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const std::string& title);
    const std::string& GetPathName() const { return m_strPathName; }
    // Records the file the document now belongs to (as an absolute path) and
    // titles the document with the file's name.
    virtual void SetPathName(const std::string& path);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    void SetDocTemplate(CDocTemplate* docTemplate) { m_pDocTemplate = docTemplate; }

    // The file the document was read from or last saved to, as it was then.
    const FileStamp& GetFileStamp() const { return m_fileStamp; }
    // A document restored from a record of unsaved work takes the stamp that
    // record kept, so that its file is still compared before a save.
    void SetFileStamp(const FileStamp& stamp) { m_fileStamp = stamp; }

    virtual bool IsModified() const { return m_bModified; }
    // Every change of the flag, whoever makes it (an edit, a save, a
    // reload, an undo back to the saved state), is told to the template, so
    // that the windows can show whether there are unsaved changes.
    virtual void SetModifiedFlag(bool modified = true);

    void AddView(DocumentView* view);
    void RemoveView(DocumentView* view);
    const std::vector<DocumentView*>& GetViews() const { return m_views; }
    // Tells every attached view but `sender` that the document changed.
    void UpdateAllViews(DocumentView* sender, std::intptr_t hint = 0, void* hintObject = nullptr);

    // Empties the document for File New: clears the contents, the path and
    // the modified flag. Returns false when the document cannot be made.
    virtual bool OnNewDocument();
    // Reads the file into the document. An empty file is not read at all. On
    // failure the error has been shown and the caller discards the document.
    virtual bool OnOpenDocument(const std::string& path);
    // Writes the document to `path`, completely or not at all: a failed save
    // leaves the previous file as it was and the document modified. On
    // failure the error has been shown.
    virtual bool OnSaveDocument(const std::string& path);
    virtual void DeleteContents() {}
    virtual void Serialize(CArchive& archive);

    // Saves to `path`, or, when `path` is empty, to a file the user chooses
    // (its initial name made from the title). With `replace` the document
    // then belongs to the file saved. A save to the document's own file that
    // another program has changed since asks first.
    bool DoSave(const std::string& path, bool replace = true);
    // File Save: to the document's own file, or through Save As when it has
    // none or its file is read-only.
    bool DoFileSave();
    // Before closing: asks "Save changes to %1?" when the document is
    // modified. Returns false when the document must stay open.
    virtual bool SaveModified();

    // File Save, File Save As and File Close. Close asks first when the
    // document is modified and keeps it open when the answer or the save
    // says so.
    void OnFileSave();
    void OnFileSaveAs();
    void OnFileClose();
    // Closes the document without asking: empties it and hands it to its
    // template, whose host closes its windows and destroys it. Nothing of the
    // document may be used afterwards.
    virtual void OnCloseDocument();

    static const CommandMap commandMap;

    // Shows the message for an error raised while opening or saving `path`:
    // the file error's own text, "Unexpected file format." for an archive
    // that ended early, the full path and the reason for a file of another
    // kind, otherwise `defaultMessage`.
    virtual void ReportSaveLoadException(const std::string& path, std::exception_ptr error,
                                         const char* defaultMessage);

protected:
    const CommandMap* GetCommandMap() const override { return &commandMap; }

private:
    // Asks before the document's own file, changed by another program, is
    // replaced. False when it must not be.
    bool ConfirmReplacingChangedFile() const;

    std::string m_strTitle;
    std::string m_strPathName;
    CDocTemplate* m_pDocTemplate = nullptr;
    bool m_bModified = false;
    FileStamp m_fileStamp;
    std::vector<DocumentView*> m_views;
};
