#include "tests/support/ColormapFixtures.h"

Bytes ColormapHead(const std::string& magic, const Bytes& palette)
{
    Bytes bytes(magic.begin(), magic.end());
    bytes.resize(64, 0);
    bytes.insert(bytes.end(), palette.begin(), palette.end());
    bytes.resize(832, 0);
    return bytes;
}
