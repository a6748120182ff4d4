#pragma once

#include "document/CPalvaneDoc.h"
#include "framework/CCmdUI.h"
#include "framework/DocumentView.h"
#include "framework/ScriptedUserInterface.h"
#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

// A test with a scripted user interface installed and a folder to write in.
class ColormapTest : public ::testing::Test {
protected:
    // Saves `document` to `name` in the folder, answering the transparency
    // question, and returns the bytes written.
    Bytes Save(CPalvaneDoc& document, bool transparency, const std::string& name = "out.cmp")
    {
        ui.QueueMessageBoxAnswer(transparency ? IDYES : IDNO);
        const std::string path = folder / name;
        EXPECT_TRUE(document.OnSaveDocument(path));
        return ReadFileBytes(path);
    }

    // Writes `bytes` to `name` in the folder and opens it into `document`.
    bool Open(CPalvaneDoc& document, const Bytes& bytes, const std::string& name = "in.cmp")
    {
        const std::string path = folder / name;
        WriteFileBytes(path, bytes);
        return document.OnOpenDocument(path);
    }

    ScriptedUserInterface ui;
    ScopedUserInterface installed{ui};
    TempFolder folder;
};

// Records, at each update, whether the document was already marked modified.
struct ModifiedWitness : DocumentView {
    explicit ModifiedWitness(const CPalvaneDoc& d) : document(d) {}
    void OnUpdate(DocumentView* sender, std::intptr_t hint, void* hintObject) override
    {
        ++updates;
        sawModified = document.IsModified();
        sawNoSender = sender == nullptr && hint == 0 && hintObject == nullptr;
    }
    const CPalvaneDoc& document;
    int updates = 0;
    bool sawModified = false;
    bool sawNoSender = false;
};

// A new, grey document with a view on it, whose commands run as a menu item
// or a toolbar button would run them.
class PaletteCommandTest : public ColormapTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(document.OnNewDocument());
        document.AddView(&view);
    }

    bool IsEnabled(unsigned id)
    {
        CCmdUI state(id);
        return document.OnUpdateCmdUI(state) && state.IsEnabled();
    }
    void Select(int start, int end)
    {
        document.m_nSelStart = start;
        document.m_nSelEnd = end;
    }
    // The document-changed protocol ran once: modified first, then every view told.
    void ExpectChangedOnce() const
    {
        EXPECT_TRUE(document.IsModified());
        EXPECT_EQ(view.updates, 1);
        EXPECT_TRUE(view.sawModified);
        EXPECT_TRUE(view.sawNoSender);
    }
    void ExpectUnchanged() const
    {
        EXPECT_FALSE(document.IsModified());
        EXPECT_EQ(view.updates, 0);
    }

    CPalvaneDoc document;
    ModifiedWitness view{document};
};

// A colormap file's first 832 bytes: the header and the palette bytes given.
Bytes ColormapHead(const std::string& magic, const Bytes& palette);
