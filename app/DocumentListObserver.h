#pragma once

class CPalvaneDoc;

// Told when a document joins the editor's open documents and just before one
// leaves them (closed, whether saved or not).
class DocumentListObserver {
public:
    virtual ~DocumentListObserver() = default;

    virtual void OnDocumentAdded(CPalvaneDoc* document) = 0;
    virtual void OnDocumentRemoving(CPalvaneDoc* document) = 0;
};
