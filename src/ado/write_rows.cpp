// The provider's batch write, row by row through Write.
#include "ado/provider.h"

namespace ado::provider {

void Session::WriteRows(std::span<const cursor::RowWrite> writes, std::vector<WriteOutcome>& outcomes) {
    // The outcomes of the chunk before are refilled: their read-back buffers are kept.
    outcomes.resize(writes.size());
    for (size_t i = 0; i < writes.size(); ++i) {
        WriteOutcome& out = outcomes[i];
        out.affected = 0;
        out.readBack.clear();
        out.error.reset();
        try {
            out.affected = Write(writes[i], &out.readBack);
        } catch (const Error& e) {
            out.error = std::make_unique<Error>(e);
        }
    }
}

}  // namespace ado::provider
