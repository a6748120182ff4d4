#include "app/PaletteChangeCommand.h"

#include "document/CPalvaneDoc.h"

#include <QUndoStack>

#include <utility>

PaletteChangeCommand::PaletteChangeCommand(CPalvaneDoc& document, const QUndoStack& stack,
                                           PaletteChange change)
    : m_document(document), m_stack(stack), m_change(std::move(change))
{
    setText(QString::fromStdString(m_change.Text()));
}

bool PaletteChangeCommand::ModifiedAfterMoving(int step) const
{
    // The stack moves its index only after the command has run.
    return m_stack.cleanIndex() != m_stack.index() + step;
}

void PaletteChangeCommand::undo()
{
    m_document.ApplyPaletteChange(m_change, PaletteChange::Direction::undo,
                                  ModifiedAfterMoving(-1));
}

void PaletteChangeCommand::redo()
{
    // The stack does the command as it takes it; the document already has.
    if (std::exchange(m_bPushing, false))
        return;
    m_document.ApplyPaletteChange(m_change, PaletteChange::Direction::redo,
                                  ModifiedAfterMoving(+1));
}
