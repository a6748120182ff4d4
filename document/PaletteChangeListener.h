#pragma once

class CPalvaneDoc;
class PaletteChange;

// Hears what happens to a document's palette, to keep its history: the
// editor's undo stack. The document calls it from its own code, so every
// operation that ends in the document-changed protocol is heard.
class PaletteChangeListener {
public:
    virtual ~PaletteChangeListener() = default;

    // An action changed palette entries: one step of the history.
    virtual void OnPaletteChanged(CPalvaneDoc& document, PaletteChange change) = 0;
    // The palette as it is now was saved to the document's file.
    virtual void OnPaletteSaved(CPalvaneDoc& document) = 0;
    // The palette was replaced outright (new, opened, read again, restored):
    // earlier steps no longer apply. `saved`: whether it is now the palette
    // of the document's file.
    virtual void OnPaletteHistoryStarted(CPalvaneDoc& document, bool saved) = 0;
};
