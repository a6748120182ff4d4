#pragma once

#include "document/PaletteChange.h"

#include <QUndoCommand>

class CPalvaneDoc;
class QUndoStack;

// One step of a document's undo stack: it carries what the document
// recorded of the change and hands it back to the document to undo or redo.
// The change has been made when the step is pushed.
class PaletteChangeCommand final : public QUndoCommand {
public:
    // `document` and `stack`, which will hold the command, outlive it.
    PaletteChangeCommand(CPalvaneDoc& document, const QUndoStack& stack, PaletteChange change);

    void undo() override;
    void redo() override;

private:
    // Whether the document is modified once the stack has moved by `step`:
    // unless the stack then stands at its clean state.
    bool ModifiedAfterMoving(int step) const;

    CPalvaneDoc& m_document;
    const QUndoStack& m_stack;
    PaletteChange m_change;
    bool m_bPushing = true;
};
