// TranslateAccessSql: tokens, then the passes of translation_passes.h in order, then text.
#include <list>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "ado/providers/sqlite/dialect/access_dialect.h"
#include "ado/providers/sqlite/dialect/translation_passes.h"

namespace ado::sqlite {

Translation TranslateAccessSql(std::string_view accessSql, RowIdentitySchema* schema) {
    using namespace detail;
    Translation out;
    Tokens tokens = Tokenize(accessSql);
    TakeParameterDeclaration(tokens, out);
    if (schema) AddRowIdentity(tokens, out, *schema);
    RewriteWords(tokens, out);
    QualifyExternalTables(tokens, out);
    RewriteTop(tokens);
    RewriteConcatenation(tokens);
    RewriteStatementForms(tokens);
    out.returnsRows = FirstStatementReturnsRows(tokens);
    out.sql = JoinTokens(tokens);
    return out;
}

namespace {

// Least recently used translations, keyed by statement text.
class TranslationCache {
public:
    static constexpr size_t kCapacity = 256;

    std::shared_ptr<const Translation> Get(std::string_view sql) {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto found = index_.find(std::string(sql));
        if (found != index_.end()) {
            order_.splice(order_.begin(), order_, found->second);
            return found->second->second;
        }
        auto translation = std::make_shared<const Translation>(TranslateAccessSql(sql));
        order_.emplace_front(std::string(sql), translation);
        index_.emplace(order_.front().first, order_.begin());
        if (order_.size() > kCapacity) {
            index_.erase(order_.back().first);
            order_.pop_back();
        }
        return translation;
    }

private:
    using Entry = std::pair<std::string, std::shared_ptr<const Translation>>;
    std::mutex mutex_;
    std::list<Entry> order_;
    std::unordered_map<std::string, std::list<Entry>::iterator> index_;
};

}  // namespace

const Translation& TranslateAccessSqlCached(std::string_view accessSql) {
    static TranslationCache cache;
    // Keeps the last answer of this thread alive even if the cache drops it meanwhile.
    thread_local std::shared_ptr<const Translation> lastAnswer;
    lastAnswer = cache.Get(accessSql);
    return *lastAnswer;
}

}  // namespace ado::sqlite
