// Where the readers put the values they decode: straight into a row being loaded, or into a
// Variant (a change applied to a row already loaded).
#pragma once

#include <cstdint>
#include <string_view>

#include "ado/Variant.h"
#include "ado/cursor/row_store.h"

namespace ado::persist {

class ValueSink {
public:
    virtual ~ValueSink() = default;
    virtual void Null() = 0;
    virtual void Int(int64_t v) = 0;
    virtual void Bool(bool v) = 0;
    virtual void Real(double v) = 0;
    virtual void Money(int64_t scaled) = 0;
    virtual void DateSerial(double serial) = 0;
    virtual void Text(std::string_view utf8) = 0;
    virtual void Blob(const uint8_t* p, size_t n) = 0;
    virtual void Other(Variant v) = 0;
};

// The next cell of the row a RowStore is loading.
class StoreSink final : public ValueSink {
public:
    explicit StoreSink(cursor::RowStore& rows) : rows_(rows) {}
    void Null() override { rows_.PutNull(); }
    void Int(int64_t v) override { rows_.PutInt(v); }
    void Bool(bool v) override { rows_.PutBool(v); }
    void Real(double v) override { rows_.PutReal(v); }
    void Money(int64_t scaled) override { rows_.PutCurrency(scaled); }
    void DateSerial(double serial) override { rows_.PutDate(serial); }
    void Text(std::string_view utf8) override { rows_.PutText(utf8); }
    void Blob(const uint8_t* p, size_t n) override { rows_.PutBlob(p, n); }
    void Other(Variant v) override { rows_.PutVariant(v); }

private:
    cursor::RowStore& rows_;
};

class VariantSink final : public ValueSink {
public:
    void Null() override { value = Variant(Variant::Null); }
    void Int(int64_t v) override { value = Variant(v); }
    void Bool(bool v) override { value = Variant(v); }
    void Real(double v) override { value = Variant(v); }
    void Money(int64_t scaled) override { value = Variant(Currency{scaled}); }
    void DateSerial(double serial) override { value = Variant(Date{serial}); }
    void Text(std::string_view utf8) override { value = Variant(utf8); }
    void Blob(const uint8_t* p, size_t n) override { value = Variant(Binary(p, p + n)); }
    void Other(Variant v) override { value = std::move(v); }
    Variant value;
};

}  // namespace ado::persist
