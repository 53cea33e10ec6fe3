#include "host/app/calc/Calculation.h"

#include "host/app/calc/FormulaCells.h"
#include "host/app/calc/FormulaColumns.h"
#include "host/app/calc/FormulaStates.h"
#include "host/app/calc/FormulaValues.h"
#include "host/model/CellAddress.h"
#include "host/model/Workbook.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <span>
#include <unordered_map>
#include <utility>
#include <variant>

namespace kelvor {

namespace {

constexpr int kMaxDepth = 400;

class Calculator {
public:
    Calculator(Workbook& book, FormulaCache& cache, std::span<const std::uint64_t> aside)
        : book_(book), cache_(cache), aside_(aside) {}

    // `full`: every formula, whatever was kept from earlier runs. Returns false when an
    // incremental run met a circular reference: its results depend on where the walk starts,
    // so the caller calculates everything.
    bool run(bool full) {
        // Column by column: the cells of a filled column share their formula and refer to
        // consecutive rows, which the lookups below make cheap.
        // Sheets of plain values (the data sheets) are not walked again while unchanged.
        std::vector<FormulaCell> formulas;
        std::vector<SheetEnd> sheetEnds;
        FormulaCache::SheetRevisions withoutFormulas;
        auto& stamps = cache_.groupStamps(book_);
        auto& recorded = cache_.formulaColumns(book_);
        std::vector<WalkedSheet> walked;
        for (std::size_t i = 0; i < book_.sheetCount(); ++i) {
            if (auto* sheet = asWorksheet(book_.sheet(i))) {
                if (cache_.knownWithoutFormulas(book_, *sheet)) {
                    withoutFormulas.emplace(sheet->key(), sheet->revision());
                    continue;
                }
                ColumnChoice choice;
                if (const auto found = recorded.find(sheet->key());
                    !full && found != recorded.end()) {
                    choice = chooseColumns(*sheet, found->second, [&](const FormulaText& text) {
                        return current(groupOf(*sheet, text), stamps);
                    });
                }
                const auto before = formulas.size();
                if (choice.whole) {
                    appendFormulasByColumn(*sheet, formulas);
                } else {
                    appendFormulasOfColumns(*sheet, choice.walk, formulas);
                }
                if (formulas.size() == before && choice.whole) {
                    withoutFormulas.emplace(sheet->key(), sheet->revision());
                    continue;
                }
                sheetEnds.push_back({sheet, formulas.size()});
                walked.push_back({sheet, before, formulas.size(), std::move(choice)});
            }
        }
        cache_.setSheetsWithoutFormulas(book_, std::move(withoutFormulas));
        // Results are stored into existing cells only, so the pointers stay valid.
        // Formulas passed by wait in runs of one group: its cells are looked at together.
        std::vector<Waiting> waiting;
        std::size_t i = 0;
        for (const auto& [sheet, end] : sheetEnds) {
            for (; i < end; ++i) {
                const auto& f = formulas[i];
                const auto group = groupOf(*sheet, f.cell->formula);
                if (full || !f.cell->calculated() || !current(group, stamps)) {
                    formulaValue(*sheet, f.row, f.column, *f.cell);
                } else if (!waiting.empty() && waiting.back().end == i &&
                           waiting.back().group == group) {
                    waiting.back().end = i + 1;
                } else {
                    waiting.push_back({i, i + 1, group});
                }
            }
        }
        // Results stored change sheets that formulas passed by may read: until none does.
        for (bool more = true; more && !waiting.empty();) {
            more = false;
            ++pass_;
            std::vector<Waiting> still;
            for (const Waiting& run : waiting) {
                if (current(run.group, stamps)) {
                    still.push_back(run);
                    continue;
                }
                Worksheet& sheet = *groups_[run.group].sheet;
                for (auto k = run.begin; k < run.end; ++k) {
                    const auto& f = formulas[k];
                    formulaValue(sheet, f.row, f.column, *f.cell);
                }
                more = true;
            }
            waiting = std::move(still);
        }
        if (circular_ && !full) {
            return false;
        }
        FormulaCache::GroupStamps now;
        for (const auto& group : groups_) {
            now[group.stampKey] = stampsOf(group);
        }
        // A sheet set aside comes back as it went: what its formulas read stays known.
        for (const auto& entry : stamps) {
            if (isAside(entry.first.first)) {
                now.insert(entry);
            }
        }
        recordColumnsAfterRun(walked, formulas, recorded, stamps, now);
        stamps = std::move(now);
        return true;
    }

    // A column passed by whose formulas read what this run's results changed was not
    // calculated: the next run walks it.
    bool needsAnotherRun() const { return passedByLeftBehind_; }

private:
    struct WalkedSheet {
        Worksheet* sheet;
        std::size_t begin; // its formulas in the run's list
        std::size_t end;
        ColumnChoice choice;
    };

    // What the columns of every sheet walked are now. A column passed by whose formulas no
    // longer read what they were calculated from loses its record and their stamps, so that
    // the next run walks and calculates it.
    void recordColumnsAfterRun(std::vector<WalkedSheet>& walked,
                               const std::vector<FormulaCell>& formulas,
                               FormulaCache::SheetColumns& recorded,
                               const FormulaCache::GroupStamps& before,
                               FormulaCache::GroupStamps& now) {
        ++pass_;
        FormulaCache::SheetColumns next;
        for (auto& w : walked) {
            FormulaColumns columns;
            if (w.choice.whole) {
                columns = recordColumns(*w.sheet);
            } else {
                columns = std::move(recorded[w.sheet->key()]);
                updateColumns(columns, *w.sheet, w.choice.walk, formulas.data() + w.begin,
                              formulas.data() + w.end);
            }
            for (const std::uint32_t column : w.choice.passedBy) {
                const auto texts = columns[column].texts;
                for (const FormulaText& text : texts) {
                    if (!current(groupOf(*w.sheet, text), before)) {
                        now.erase({w.sheet->key(), text.str()});
                        columns.erase(column);
                        passedByLeftBehind_ = true;
                    }
                }
            }
            next[w.sheet->key()] = std::move(columns);
        }
        for (const auto key : aside_) {
            if (const auto found = recorded.find(key); found != recorded.end()) {
                next[key] = std::move(found->second);
            }
        }
        recorded = std::move(next);
    }

    // Formulas `begin` to `end` (past the last), all of one group.
    struct Waiting {
        std::size_t begin;
        std::size_t end;
        std::size_t group;
    };
    // Where the formulas of a sheet end in the list.
    struct SheetEnd {
        Worksheet* sheet;
        std::size_t end;
    };

    // The cells of one formula text on one sheet, and the sheets its references name.
    struct Group {
        Worksheet* sheet;
        FormulaText text;
        std::vector<std::string> names;               // "" for the sheet itself
        FormulaCache::GroupStamps::key_type stampKey; // made once: looked up at every pass
        bool parsed = true;
        int pass = -1; // of `current`
        bool current = false;
    };

    std::size_t groupOf(Worksheet& sheet, const FormulaText& text) {
        if (lastGroup_ < groups_.size() && groups_[lastGroup_].sheet == &sheet &&
            groups_[lastGroup_].text.sharedWith(text)) {
            return lastGroup_;
        }
        // Copies of one text (a filled column's cells, its column's record) share its number.
        if (const auto known = byNumber_.find({&sheet, text.number()});
            known != byNumber_.end() && groups_[known->second].text == text) {
            lastGroup_ = known->second;
            return lastGroup_;
        }
        const auto [slot, fresh] = groupIndex_.try_emplace({&sheet, text.str()}, groups_.size());
        byNumber_.emplace(NumberKey{&sheet, text.number()}, slot->second);
        if (fresh) {
            Group group{&sheet, text, {}, {sheet.key(), text.str()}, true, -1, false};
            try {
                collectSheetNames(*cache_.get(text.str()), group.names);
            } catch (const FormulaSyntaxError&) {
                group.parsed = false;
            }
            groups_.push_back(std::move(group));
        }
        lastGroup_ = slot->second;
        return lastGroup_;
    }

    // What the group's i-th named sheet is now.
    FormulaCache::SheetStamp stampOf(const Group& group, std::size_t i) {
        const auto& name = group.names[i];
        const Worksheet* sheet = name.empty() ? group.sheet : namedSheet(name);
        return sheet ? FormulaCache::SheetStamp{sheet->key(), sheet->revision()}
                     : FormulaCache::SheetStamp{};
    }

    std::vector<FormulaCache::SheetStamp> stampsOf(const Group& group) {
        std::vector<FormulaCache::SheetStamp> result;
        for (std::size_t i = 0; i < group.names.size(); ++i) {
            result.push_back(stampOf(group, i));
        }
        return result;
    }

    // As comparing with stampsOf, without making them.
    bool sameStamps(const Group& group, const std::vector<FormulaCache::SheetStamp>& kept) {
        if (kept.size() != group.names.size()) {
            return false;
        }
        for (std::size_t i = 0; i < kept.size(); ++i) {
            if (stampOf(group, i) != kept[i]) {
                return false;
            }
        }
        return true;
    }

    // Whether nothing the group's cells read changed since the last run recorded it; looked
    // at once per pass.
    bool current(std::size_t index, const FormulaCache::GroupStamps& stamps) {
        Group& group = groups_[index];
        if (group.pass != pass_) {
            group.pass = pass_;
            const auto found = stamps.find(group.stampKey);
            group.current =
                group.parsed && found != stamps.end() && sameStamps(group, found->second);
        }
        return group.current;
    }

private:
    static std::uint64_t key(const Worksheet& sheet, std::uint32_t row, std::uint32_t column) {
        return (static_cast<std::uint64_t>(sheet.id()) << 35) |
               (static_cast<std::uint64_t>(row) << 14) | column;
    }

    // The cell's value, calculating it first when it is a formula not yet done in this run.
    CellValue cellValue(Worksheet& sheet, std::uint32_t row, std::uint32_t column) {
        const Cell* cell = cells_.find(sheet, row, column);
        if (cell == nullptr) {
            return {};
        }
        if (!cell->hasFormula() || cell->notation() != FormulaNotation::R1C1) {
            return cell->value();
        }
        return formulaValue(sheet, row, column, *cell);
    }

    CellValue formulaValue(Worksheet& sheet, std::uint32_t row, std::uint32_t column,
                           const Cell& cell) {
        const auto k = key(sheet, row, column);
        auto* state = &state_[k];
        if (*state != FormulaStates::State::New) {
            if (*state == FormulaStates::State::Done) {
                return cell.value();
            }
            circular_ = true;
            return CellValue(0.0);
        }
        if (depth_ >= kMaxDepth) {
            return cell.value(); // too deep a chain: the last result stands for now
        }
        *state = FormulaStates::State::Busy;
        ++depth_;
        CellValue result;
        try {
            result = evaluate(parsed(cell.formula), sheet, row, column);
        } catch (const FormulaSyntaxError&) {
            result = CellError::Name;
        }
        --depth_;
        if (std::holds_alternative<std::monostate>(result)) {
            result = 0.0; // a formula showing an empty cell shows 0
        }
        if (const auto* n = std::get_if<double>(&result); n && !std::isfinite(*n)) {
            result = CellError::Num;
        }
        state_[k] = FormulaStates::State::Done;
        if (cell.value() != result) {
            sheet.setCachedValue(cell, result, row, column);
        }
        sheet.markCalculated(cell);
        return result;
    }

    // The cells of a filled range share their formula text: the last one parsed is kept at
    // hand. The cache owns the parsed formulas for longer than this run.
    const FormulaNode& parsed(const FormulaText& text) {
        if (lastFormula_ == nullptr || text != lastText_) {
            lastFormula_ = cache_.get(text.str()).get();
            lastText_ = text;
        }
        return *lastFormula_;
    }

    CellValue reference(const R1C1Reference& ref, Worksheet& sheet, std::uint32_t row,
                        std::uint32_t column) {
        if (ref.wholeRow || ref.wholeColumn) {
            return CellError::Value; // a whole row or column is no single value
        }
        Worksheet* target = ref.sheet ? worksheetNamed(*ref.sheet) : &sheet;
        if (target == nullptr) {
            return CellError::Ref;
        }
        const std::int64_t r = ref.rowRelative ? std::int64_t{row} + ref.row : ref.row;
        const std::int64_t c = ref.columnRelative ? std::int64_t{column} + ref.column : ref.column;
        if (r < 1 || r > kMaxRows || c < 1 || c > kMaxColumns) {
            return CellError::Ref;
        }
        return cellValue(*target, static_cast<std::uint32_t>(r), static_cast<std::uint32_t>(c));
    }

    // Sheet names are looked up once per run: the cells of a filled range all name the same,
    // by the very same text of their shared parsed formula.
    Worksheet* worksheetNamed(const std::string& name) {
        if (&name == lastName_) {
            return lastNamed_;
        }
        lastName_ = &name;
        lastNamed_ = namedSheet(name);
        return lastNamed_;
    }

    Worksheet* namedSheet(const std::string& name) {
        const auto [slot, fresh] = sheetsByName_.try_emplace(name, nullptr);
        if (fresh) {
            const auto index = book_.indexOf(name);
            slot->second = index ? asWorksheet(book_.sheet(*index)) : nullptr;
        }
        return slot->second;
    }

    CellValue call(const FormulaNode& node, Worksheet& sheet, std::uint32_t row,
                   std::uint32_t column) {
        if (node.text != "TIMEVALUE") {
            return CellError::Name;
        }
        if (node.operands.size() != 1) {
            return CellError::Value;
        }
        return timeValue(evaluate(*node.operands[0], sheet, row, column));
    }

    CellValue evaluate(const FormulaNode& node, Worksheet& sheet, std::uint32_t row,
                       std::uint32_t column) {
        switch (node.kind) {
        case FormulaNode::Kind::Number:
            return node.number;
        case FormulaNode::Kind::Text:
            return node.text;
        case FormulaNode::Kind::Boolean:
            return node.number != 0;
        case FormulaNode::Kind::Reference:
            return reference(node.reference, sheet, row, column);
        case FormulaNode::Kind::Name:
            return CellError::Name;
        case FormulaNode::Kind::Call:
            return call(node, sheet, row, column);
        case FormulaNode::Kind::Negate:
            return negate(evaluate(*node.operands[0], sheet, row, column));
        case FormulaNode::Kind::Binary: {
            const auto left = evaluate(*node.operands[0], sheet, row, column);
            const auto right = evaluate(*node.operands[1], sheet, row, column);
            return arithmetic(node.op, left, right);
        }
        }
        return CellError::Value;
    }

    bool isAside(std::uint64_t key) const {
        return std::find(aside_.begin(), aside_.end(), key) != aside_.end();
    }

    Workbook& book_;
    FormulaCache& cache_;
    std::span<const std::uint64_t> aside_;
    FormulaStates state_;
    std::unordered_map<std::string, Worksheet*> sheetsByName_;
    int depth_ = 0;
    const FormulaNode* lastFormula_ = nullptr;
    const std::string* lastName_ = nullptr;
    Worksheet* lastNamed_ = nullptr;
    FormulaText lastText_;
    CellFinder cells_;
    std::vector<Group> groups_;
    std::map<std::pair<const Worksheet*, std::string>, std::size_t> groupIndex_;
    struct NumberKey {
        const Worksheet* sheet;
        FormulaTexts::Id number;
        bool operator==(const NumberKey&) const = default;
    };
    struct NumberKeyHash {
        std::size_t operator()(const NumberKey& k) const {
            return std::hash<const void*>()(k.sheet) ^
                   (std::size_t{k.number} * 0x9E3779B97F4A7C15ULL);
        }
    };
    std::unordered_map<NumberKey, std::size_t, NumberKeyHash> byNumber_;
    std::size_t lastGroup_ = 0;
    bool circular_ = false;
    int pass_ = 0;
    bool passedByLeftBehind_ = false;
};

} // namespace

void calculateWorkbook(Workbook& book, FormulaCache& cache, std::span<const std::uint64_t> aside) {
    // A run that left a passed-by column behind is followed by one that walks it; each such
    // run walks more, and a few are plenty before everything is calculated at once.
    for (int runs = 0; runs < 4; ++runs) {
        Calculator calculator(book, cache, aside);
        if (!calculator.run(false)) {
            break;
        }
        if (!calculator.needsAnotherRun()) {
            return;
        }
    }
    Calculator(book, cache, aside).run(true);
}

} // namespace kelvor
