#include "app/DocumentUndoStacks.h"

#include "app/PaletteChangeCommand.h"
#include "document/CPalvaneDoc.h"

#include <QUndoStack>

#include <utility>

DocumentUndoStacks::DocumentUndoStacks() = default;

DocumentUndoStacks::~DocumentUndoStacks()
{
    // Documents still open stop telling stacks that are going.
    for (const auto& [document, stack] : m_stacks)
        document->SetPaletteChangeListener(nullptr);
}

QUndoStack* DocumentUndoStacks::StackOf(const CPalvaneDoc* document) const
{
    const auto found = m_stacks.find(document);
    return found != m_stacks.end() ? found->second.get() : nullptr;
}

void DocumentUndoStacks::SetActiveDocument(const CPalvaneDoc* document)
{
    m_group.setActiveStack(StackOf(document));
}

void DocumentUndoStacks::OnDocumentAdded(CPalvaneDoc* document)
{
    auto stack = std::make_unique<QUndoStack>();
    m_group.addStack(stack.get());
    m_stacks[document] = std::move(stack);
    document->SetPaletteChangeListener(this);
}

void DocumentUndoStacks::OnDocumentRemoving(CPalvaneDoc* document)
{
    document->SetPaletteChangeListener(nullptr);
    // A stack leaves its group as it goes.
    m_stacks.erase(document);
}

void DocumentUndoStacks::OnPaletteChanged(CPalvaneDoc& document, PaletteChange change)
{
    if (QUndoStack* stack = StackOf(&document))
        stack->push(new PaletteChangeCommand(document, *stack, std::move(change)));
}

void DocumentUndoStacks::OnPaletteSaved(CPalvaneDoc& document)
{
    if (QUndoStack* stack = StackOf(&document))
        stack->setClean();
}

void DocumentUndoStacks::OnPaletteHistoryStarted(CPalvaneDoc& document, bool saved)
{
    QUndoStack* stack = StackOf(&document);
    if (stack == nullptr)
        return;
    stack->clear();
    if (!saved)
        stack->resetClean();
}
