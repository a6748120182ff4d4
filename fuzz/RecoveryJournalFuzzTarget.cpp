// Reading a recovery journal on arbitrary bytes, as a start of the editor
// reads what an ended one left: a real file through the journal's reader.
#include "document/RecoveryJournal.h"
#include "fuzz/FuzzExpect.h"
#include "fuzz/FuzzInputFile.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static FuzzInputFile file("recovery.journal");
    std::string reason;
    const auto journal = RecoveryJournal::Read(file.Hold(data, size), reason);
    if (!journal) {
        FuzzExpect(!reason.empty(), "a refused journal says why");
        return 0;
    }
    FuzzExpect(size <= RecoveryJournal::kMaxFileSize, "no journal is larger than the bound");
    // What was read is written back the same, leaving out only fields this
    // editor does not know.
    const std::vector<std::uint8_t> again = journal->Encode();
    FuzzExpect(again.size() <= size, "writing back adds nothing");
    const auto reread = RecoveryJournal::Decode(again, reason);
    FuzzExpect(reread && *reread == *journal, "a journal written back reads the same");
    return 0;
}
