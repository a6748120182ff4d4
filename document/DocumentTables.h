#pragma once

#include "document/ColormapTableMaker.h"

#include <memory>

// The tables beside a document's palette: the maker of those the next save
// writes.
class DocumentTables {
public:
    using TablesPtr = ColormapTableMaker::TablesPtr;

    DocumentTables();

    // Shared with work on other threads (the tables panel), which may end
    // after the document.
    const std::shared_ptr<ColormapTableMaker>& Maker() const { return m_pMaker; }

private:
    std::shared_ptr<ColormapTableMaker> m_pMaker;
};
