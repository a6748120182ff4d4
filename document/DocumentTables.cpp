#include "document/DocumentTables.h"

DocumentTables::DocumentTables() : m_pMaker(std::make_shared<ColormapTableMaker>()) {}
