#include "table_printer.h"

#include <algorithm>
#include <string>
#include <vector>

#include "display_width.h"
#include "idioma.h"
#include "row_output.h"

namespace tool {

namespace {

std::string Cell(const ado::Variant& v) {
    if (v.IsNull()) return "Null";
    if (v.Type() == ado::VariantType::Binary) return F("<{0} bytes>", v.AsBinary().size());
    if (v.Type() == ado::VariantType::Object)  // a chapter: its child rows
        return v.AsObject() ? F("<{0} filas>", v.AsObject()->RecordCount()) : T("<capítulo>");
    return v.ToString();
}

bool RightAligned(ado::DataTypeEnum t) {
    switch (t) {
        case ado::adSmallInt: case ado::adInteger: case ado::adBigInt: case ado::adUnsignedTinyInt:
        case ado::adSingle: case ado::adDouble: case ado::adCurrency: case ado::adNumeric: case ado::adDecimal:
            return true;
        default: return false;
    }
}

// Column widths come from the names and the first rows; later rows are printed as they
// come, in those widths (a longer value pushes its line out), so memory stays flat.
class TableOutput final : public RowOutput {
public:
    static constexpr size_t kMeasuredRows = 500;

    explicit TableOutput(std::ostream& out) : out_(out) {}

    void Begin(ado::Fields& fields) override {
        for (ado::Field& f : fields) {
            names_.push_back(f.Name());
            right_.push_back(RightAligned(f.Type()));
            widths_.push_back(DisplayWidth(f.Name()));
        }
    }

    void Row(ado::Fields& fields) override {
        ++rows_;
        std::vector<std::string> cells;
        for (ado::Field& f : fields) cells.push_back(Cell(f.Value()));
        if (measuring_) {
            for (size_t c = 0; c < cells.size(); ++c) widths_[c] = std::max(widths_[c], DisplayWidth(cells[c]));
            measured_.push_back(std::move(cells));
            if (measured_.size() == kMeasuredRows) Flush();
        } else {
            Line(cells, right_);
        }
    }

    void End(int64_t left) override {
        if (measuring_) Flush();
        if (left > 0) out_ << F("... ({0} filas más)", left) << '\n';
        if (left < 0) out_ << T("... (hay más filas)") << '\n';
        const int64_t total = rows_ + std::max<int64_t>(left, 0);
        out_ << (total == 1 ? T("(1 fila)") : F("({0} filas)", total)) << '\n';
    }

private:
    void Flush() {
        Line(names_, std::vector<bool>(names_.size(), false));
        for (size_t c = 0; c < widths_.size(); ++c) out_ << (c ? "-+-" : "") << std::string(widths_[c], '-');
        out_ << '\n';
        for (const auto& cells : measured_) Line(cells, right_);
        measured_ = {};
        measuring_ = false;
    }

    void Line(const std::vector<std::string>& cells, const std::vector<bool>& right) {
        for (size_t c = 0; c < cells.size(); ++c) {
            const size_t w = DisplayWidth(cells[c]);
            const std::string fill(widths_[c] > w ? widths_[c] - w : 0, ' ');
            out_ << (c ? " | " : "") << (right[c] ? fill + cells[c] : cells[c] + fill);
        }
        out_ << '\n';
    }

    std::ostream& out_;
    std::vector<std::string> names_;
    std::vector<bool> right_;
    std::vector<size_t> widths_;
    std::vector<std::vector<std::string>> measured_;
    bool measuring_ = true;
    int64_t rows_ = 0;
};

}  // namespace

std::unique_ptr<RowOutput> MakeTableOutput(std::ostream& out) { return std::make_unique<TableOutput>(out); }

int PrintTable(ado::Recordset& rs, std::ostream& out, int maxRows) {
    TableOutput table(out);
    return static_cast<int>(WriteRows(rs, table, maxRows));
}

}  // namespace tool
