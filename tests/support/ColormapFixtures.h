#pragma once

#include "document/CPalvaneDoc.h"
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

// A colormap file's first 832 bytes: the header and the palette bytes given.
Bytes ColormapHead(const std::string& magic, const Bytes& palette);
