#pragma once

#include "app/DocumentListObserver.h"
#include "document/PaletteChangeListener.h"

#include <QUndoGroup>

#include <functional>
#include <map>
#include <memory>

class QUndoStack;

// One undo stack per open document, shared by all its windows, gathered in
// a group whose active stack is the active window's document's: Undo and
// Redo act there. Each document records its own palette changes; a stack
// keeps them as steps, and its clean state is the palette as last saved or
// opened.
class DocumentUndoStacks final : public DocumentListObserver, public PaletteChangeListener {
public:
    DocumentUndoStacks();
    ~DocumentUndoStacks() override;

    QUndoGroup& Group() { return m_group; }
    // The document's stack, nullptr for one that is not open.
    QUndoStack* StackOf(const CPalvaneDoc* document) const;
    // The stack that Undo and Redo act on: `document`'s, none for nullptr.
    void SetActiveDocument(const CPalvaneDoc* document);

    void OnDocumentAdded(CPalvaneDoc* document) override;
    void OnDocumentRemoving(CPalvaneDoc* document) override;

    void OnPaletteChanged(CPalvaneDoc& document, PaletteChange change) override;
    void OnPaletteSaved(CPalvaneDoc& document) override;
    void OnPaletteHistoryStarted(CPalvaneDoc& document, bool saved) override;

private:
    QUndoGroup m_group;
    std::map<CPalvaneDoc*, std::unique_ptr<QUndoStack>, std::less<>> m_stacks;
};
