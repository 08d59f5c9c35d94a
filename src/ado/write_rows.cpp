// The provider's batch write, row by row through Write.
#include "ado/provider.h"

namespace ado::provider {

void Session::WriteRows(std::span<const cursor::RowWrite> writes, std::vector<WriteOutcome>& outcomes) {
    outcomes.clear();
    outcomes.resize(writes.size());
    for (size_t i = 0; i < writes.size(); ++i) {
        WriteOutcome& out = outcomes[i];
        try {
            out.affected = Write(writes[i], &out.readBack);
        } catch (const Error& e) {
            out.error = e;
        }
    }
}

}  // namespace ado::provider
