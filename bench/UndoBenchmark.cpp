// Undo and redo of a step that replaced the whole palette, as an import
// does: the stack hands the recorded entries back to the document, which
// runs the document-changed protocol, so the shown view asks to be
// repainted. The second figure lets each repaint happen as well.

#include "app/DocumentUndoStacks.h"
#include "document/CPalvaneDoc.h"
#include "tools/SamplePalette.h"
#include "view/CPalvaneView.h"

#include <QCoreApplication>
#include <QUndoGroup>

#include <benchmark/benchmark.h>

namespace {

void UndoAndRedo(benchmark::State& state, bool repaint)
{
    CPalvaneDoc document;
    document.OnNewDocument();
    CPalvaneView view(&document);
    view.resize(400, 400);
    view.show();
    QCoreApplication::processEvents();
    DocumentUndoStacks stacks;
    stacks.OnDocumentAdded(&document);
    stacks.SetActiveDocument(&document);
    document.m_palette = MakeSamplePalette();
    document.NotifyPaletteChanged("Import Dark Forces Palette");
    QUndoGroup& history = stacks.Group();
    for (auto _ : state) {
        history.undo();
        if (repaint)
            QCoreApplication::processEvents();
        history.redo();
        if (repaint)
            QCoreApplication::processEvents();
    }
    // One undo and one redo per iteration.
    state.SetItemsProcessed(2 * state.iterations());
    stacks.OnDocumentRemoving(&document);
}

void UndoRedoWholePalette(benchmark::State& state)
{
    UndoAndRedo(state, false);
}

void UndoRedoWholePaletteRepainted(benchmark::State& state)
{
    UndoAndRedo(state, true);
}

BENCHMARK(UndoRedoWholePalette)->Unit(benchmark::kMicrosecond);
BENCHMARK(UndoRedoWholePaletteRepainted)->Unit(benchmark::kMicrosecond);

} // namespace
