#include "tools/asm/assembler.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "core/digits.h"
#include "debugger/line_assembler.h"
#include "debugger/mnemonic_table.h"
#include "debugger/number_text.h"
#include "debugger/symbol_table.h"
#include "tools/asm/expression.h"
#include "tools/common/printable_text.h"

namespace orlan::asm_tool {
namespace {

// A carriage return counts as a blank: sources saved with CR-LF line ends assemble.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerText(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Lower(c);
  return out;
}

// Where the comment of a line starts: the first ";" outside a string or a
// character constant.
std::size_t CommentStart(std::string_view line) {
  bool in_string = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (in_string) {
      if (c == '\\') {
        ++i;
      } else if (c == '"') {
        in_string = false;
      }
    } else if (c == '"') {
      in_string = true;
    } else if (c == '\'') {
      ++i;
    } else if (c == ';') {
      return i;
    }
  }
  return line.size();
}

std::size_t SkipBlanks(std::string_view s, std::size_t i) {
  while (i < s.size() && IsBlank(s[i])) ++i;
  return i;
}

// The first row whose name begins the mnemonic, as the line assembler picks it.
std::optional<OperandFormat> FormatOf(std::string_view mnemonic) {
  const std::string lower = LowerText(mnemonic);
  for (const MnemonicEntry& entry : kMnemonicTable) {
    if (lower.compare(0, entry.name.size(), entry.name) == 0) return entry.format;
  }
  return std::nullopt;
}

// Formats whose operands are numbers that must fit a field.
bool HasRangedNumber(OperandFormat format) {
  return format == OperandFormat::kBranch || format == OperandFormat::kSob ||
         format == OperandFormat::kPriority || format == OperandFormat::kMark ||
         format == OperandFormat::kTrapCode;
}

// What a line emitted, for the listing.
struct LineRecord {
  bool has_address = false;
  uint16_t address = 0;
  std::vector<uint8_t> bytes;
  bool words = false;  // instruction or .word: listed as words
  std::optional<uint16_t> assigned;
};

// Text handed to the line assembler, with the source column of each character.
struct MappedText {
  std::string text;
  std::vector<std::size_t> columns;
  void Add(char c, std::size_t column) {
    text.push_back(c);
    columns.push_back(column);
  }
};

class Assembler {
 public:
  Assembler(std::string_view source, const AsmOptions& options, AsmResult& result)
      : options_(options), result_(result), line_assembler_(format_) {
    format_ = NumberFormat::ForRadix(8);
    std::size_t start = 0;
    while (start <= source.size()) {
      std::size_t end = source.find('\n', start);
      if (end == std::string_view::npos) end = source.size();
      std::string_view line = source.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      lines_.push_back(line);
      if (end == source.size()) break;
      start = end + 1;
    }
    if (!lines_.empty() && lines_.back().empty() && !source.empty() && source.back() == '\n') {
      lines_.pop_back();
    }
    sizes_.assign(lines_.size(), 0);
    records_.resize(lines_.size());
  }

  void Run() {
    pass_ = 1;
    RunPass();
    ResolveDeferred();
    if (!result_.errors.empty()) return;
    pass_ = 2;
    RunPass();
    if (result_.errors.empty()) {
      result_.symbols = symbols_;
      WriteListing();
    }
  }

 private:
  struct Deferred {
    std::size_t line;
    std::string name;
    std::size_t name_at;
    std::string_view text;
    std::size_t at;
    uint16_t location;
  };

  void RunPass() {
    location_ = 0;
    for (line_index_ = 0; line_index_ < lines_.size(); ++line_index_) {
      if (errors_capped()) return;
      const uint16_t start = location_;
      if (!Line(lines_[line_index_])) break;  // .end
      if (pass_ == 1) {
        sizes_[line_index_] = static_cast<uint16_t>(location_ - start);
      } else {
        location_ = static_cast<uint16_t>(start + sizes_[line_index_]);
      }
    }
  }

  bool errors_capped() const { return result_.errors.size() >= 100; }

  void Error(std::size_t column, std::string message) {
    if (errors_capped()) return;
    result_.errors.push_back(
        {static_cast<int>(line_index_ + 1), static_cast<int>(column + 1), std::move(message)});
  }
  // Errors that only the second pass reports, so that nothing is reported twice.
  void Error2(std::size_t column, std::string message) {
    if (pass_ == 2) Error(column, std::move(message));
  }

  std::optional<uint16_t> Lookup(std::string_view name) const {
    const auto it = symbols_.find(std::string(name));
    if (it == symbols_.end()) return std::nullopt;
    return it->second;
  }

  ExprResult Evaluate(std::string_view line, std::size_t at, uint16_t location) const {
    return ParseExpression(line, at, location,
                           [this](std::string_view name) { return Lookup(name); });
  }

  // An expression whose value is needed now (both passes).
  std::optional<uint16_t> ValueNow(std::string_view line, std::size_t at, std::size_t& end) {
    const ExprResult r = Evaluate(line, at, location_);
    if (!r.error.empty()) {
      Error(r.error_at, r.error);
      return std::nullopt;
    }
    if (!r.defined) {
      Error(r.undefined_at, "symbol '" + r.undefined_name + "' must be defined before this line");
      return std::nullopt;
    }
    end = r.end;
    return r.value;
  }

  // An expression whose value is needed in the second pass only.
  uint16_t ValueLater(std::string_view line, std::size_t at, std::size_t& end, bool& ok) {
    const ExprResult r = Evaluate(line, at, location_);
    ok = r.error.empty();
    if (!ok) {
      Error2(r.error_at, r.error);
      return 0;
    }
    end = r.end;
    if (!r.defined) Error2(r.undefined_at, "undefined symbol '" + r.undefined_name + "'");
    return r.value;
  }

  bool Define(const std::string& name, std::size_t column, uint16_t value) {
    if (IsRegisterName(name)) {
      Error(column, "'" + name + "' is a register name");
      return false;
    }
    if (symbols_.count(name) != 0) {
      Error(column, "symbol '" + name + "' is already defined");
      return false;
    }
    symbols_[name] = value;
    return true;
  }

  void CheckEnd(std::string_view line, std::size_t i, std::size_t end) {
    i = SkipBlanks(line, i);
    if (i < end) Error2(i, "unexpected text");
  }

  // Returns false at .end.
  bool Line(std::string_view full) {
    const std::size_t end_at = CommentStart(full);
    std::string_view line = full.substr(0, end_at);
    // Trailing blanks go, except the blank of a character constant "' ".
    while (!line.empty() && IsBlank(line.back()) &&
           !(line.size() >= 2 && line[line.size() - 2] == '\'')) {
      line.remove_suffix(1);
    }
    LineRecord& record = records_[line_index_];
    std::size_t i = SkipBlanks(line, 0);
    // Labels.
    while (i < line.size() && IsNameStart(line[i])) {
      std::size_t j = i;
      while (j < line.size() && IsNameChar(line[j])) ++j;
      const std::size_t k = SkipBlanks(line, j);
      if (k >= line.size() || line[k] != ':') break;
      const std::string name(line.substr(i, j - i));
      if (pass_ == 1) {
        Define(name, i, location_);
      }
      record.has_address = true;
      record.address = location_;
      i = SkipBlanks(line, k + 1);
    }
    if (i >= line.size()) return true;

    // Assignment: "name = expr" or ". = expr".
    std::size_t j = i;
    if (line[j] == '.') {
      ++j;
    } else {
      while (j < line.size() && IsNameChar(line[j])) ++j;
    }
    const std::size_t eq = SkipBlanks(line, j);
    if (j > i && eq < line.size() && line[eq] == '=') {
      Assignment(line, i, j, eq + 1, record);
      return true;
    }
    if (line[i] == '.' && i + 1 < line.size() && IsNameStart(line[i + 1])) {
      return Directive(line, i, record);
    }
    if (IsNameStart(line[i])) {
      Instruction(line, i, record);
      return true;
    }
    Error2(i, "label, instruction or directive expected");
    return true;
  }

  void Assignment(std::string_view line, std::size_t name_at, std::size_t name_end,
                  std::size_t expr_at, LineRecord& record) {
    const std::string name(line.substr(name_at, name_end - name_at));
    const std::size_t at = SkipBlanks(line, expr_at);
    if (name == ".") {
      SetLocation(line, at, record);
      return;
    }
    const ExprResult r = Evaluate(line, at, location_);
    if (pass_ == 1) {
      if (!r.error.empty()) {
        Error(r.error_at, r.error);
      } else if (r.defined) {
        Define(name, name_at, r.value);
      } else if (IsRegisterName(name) || symbols_.count(name) != 0) {
        Define(name, name_at, 0);  // reports the error
      } else {
        deferred_.push_back({line_index_, name, name_at, line, at, location_});
      }
      return;
    }
    CheckEnd(line, r.end, line.size());
    record.assigned = Lookup(name);
  }

  // ". = expr" and ".org expr". The first pass needs the value at once; the second
  // pass gets the same location from the recorded size of the line.
  void SetLocation(std::string_view line, std::size_t at, LineRecord& record) {
    if (pass_ == 1) {
      std::size_t end = 0;
      const std::optional<uint16_t> v = ValueNow(line, at, end);
      if (v) location_ = *v;
    } else {
      const ExprResult r = Evaluate(line, at, location_);
      CheckEnd(line, r.end, line.size());
      location_ = r.value;
    }
    record.has_address = true;
    record.address = location_;
  }

  // Assignments whose expressions used symbols defined later in the file, resolved in
  // dependency order: an assignment waiting for another one resolves that one first.
  // Each is evaluated once more per assignment it waits for, so long chains stay
  // linear; the explicit stack keeps deep chains off the host stack.
  void ResolveDeferred() {
    enum class State { kWaiting, kOnStack, kDone };
    struct Frame {
      std::size_t k;          // index into deferred_
      std::size_t waits_at;   // where its expression names the assignment above it
      std::string waits_for;  // the name of that assignment
    };
    std::vector<State> state(deferred_.size(), State::kWaiting);
    std::map<std::string, std::size_t, std::less<>> first_of;  // name -> first assignment
    for (std::size_t k = deferred_.size(); k-- > 0;) first_of[deferred_[k].name] = k;
    std::vector<Frame> stack;
    for (std::size_t root = 0; root < deferred_.size(); ++root) {
      if (state[root] != State::kWaiting) continue;
      stack.push_back({root, 0, {}});
      state[root] = State::kOnStack;
      while (!stack.empty()) {
        Frame& top = stack.back();
        const Deferred& d = deferred_[top.k];
        const ExprResult r = Evaluate(d.text, d.at, d.location);
        line_index_ = d.line;
        const auto dependency = r.defined ? first_of.end() : first_of.find(r.undefined_name);
        const State dependency_state =
            dependency == first_of.end() ? State::kDone : state[dependency->second];
        if (dependency_state == State::kWaiting) {
          top.waits_at = r.undefined_at;
          top.waits_for = r.undefined_name;
          stack.push_back({dependency->second, 0, {}});
          state[dependency->second] = State::kOnStack;
        } else if (dependency_state == State::kOnStack) {
          // A circle: every assignment on the stack from the one named here up.
          top.waits_at = r.undefined_at;
          top.waits_for = r.undefined_name;
          std::size_t from = stack.size() - 1;
          while (stack[from].k != dependency->second) --from;
          for (std::size_t f = from; f < stack.size(); ++f) {
            line_index_ = deferred_[stack[f].k].line;
            Error(stack[f].waits_at, "symbol '" + deferred_[stack[f].k].name +
                                         "' depends on itself (through '" + stack[f].waits_for +
                                         "')");
            state[stack[f].k] = State::kDone;
          }
          stack.resize(from);
        } else {
          if (r.defined) {
            Define(d.name, d.name_at, r.value);  // reports a label of the same name
          } else {
            Error(r.undefined_at, "undefined symbol '" + r.undefined_name + "'");
          }
          state[top.k] = State::kDone;
          stack.pop_back();
        }
      }
    }
    deferred_.clear();
  }

  void Emit(uint8_t byte, LineRecord& record, bool& reported, std::size_t column) {
    if (pass_ == 2) {
      if (location_ < options_.image_first || location_ > options_.image_last) {
        if (!reported) {
          Error(column, "address " + Octal6(location_) + " is outside the image " +
                            Octal6(options_.image_first) + "-" + Octal6(options_.image_last));
        }
        reported = true;
      } else if (result_.memory[location_] >= 0) {
        if (!reported) Error(column, "address " + Octal6(location_) + " is already assembled");
        reported = true;
      } else {
        result_.memory[location_] = byte;
      }
      record.bytes.push_back(byte);
    }
    location_ = static_cast<uint16_t>(location_ + 1);
  }

  void EmitWord(uint16_t word, LineRecord& record, bool& reported, std::size_t column) {
    Emit(static_cast<uint8_t>(word & 0xFF), record, reported, column);
    Emit(static_cast<uint8_t>(word >> 8), record, reported, column);
  }

  bool Directive(std::string_view line, std::size_t at, LineRecord& record) {
    std::size_t j = at + 1;
    while (j < line.size() && IsNameChar(line[j])) ++j;
    const std::string name = LowerText(line.substr(at, j - at));
    std::size_t i = SkipBlanks(line, j);
    record.has_address = true;
    record.address = location_;
    bool reported = false;
    if (name == ".end") return false;
    if (name == ".org") {
      SetLocation(line, i, record);
      return true;
    }
    if (name == ".even") {
      CheckEnd(line, i, line.size());
      if (location_ & 1) location_ = static_cast<uint16_t>(location_ + 1);
      return true;
    }
    if (name == ".blkb" || name == ".blkw") {
      std::size_t end = 0;
      std::optional<uint16_t> count;
      if (pass_ == 1) {
        count = ValueNow(line, i, end);
      } else {
        const ExprResult r = Evaluate(line, i, location_);
        count = r.value;
        end = r.end;
      }
      if (count) {
        CheckEnd(line, end, line.size());
        location_ = static_cast<uint16_t>(location_ + (name == ".blkw" ? 2 * *count : *count));
      }
      return true;
    }
    if (name == ".word" || name == ".byte") {
      const bool words = name == ".word";
      record.words = words;
      if (words && (location_ & 1)) Error2(at, "words must start at an even address");
      if (i >= line.size()) {
        Error2(i, "value expected");
        return true;
      }
      while (true) {
        bool ok = false;
        std::size_t end = i;
        const uint16_t v = ValueLater(line, i, end, ok);
        if (!ok) return true;
        if (words) {
          EmitWord(v, record, reported, i);
        } else {
          if (v > 0xFF && v < 0xFF80) Error2(i, "value " + Octal6(v) + " does not fit in a byte");
          Emit(static_cast<uint8_t>(v), record, reported, i);
        }
        i = SkipBlanks(line, end);
        if (i >= line.size()) return true;
        if (line[i] != ',') {
          Error2(i, "',' expected");
          return true;
        }
        i = SkipBlanks(line, i + 1);
      }
    }
    if (name == ".ascii" || name == ".asciz") {
      std::string text;
      if (i >= line.size() || line[i] != '"') {
        Error2(i, "string in \"quotes\" expected");
        return true;
      }
      std::size_t k = i + 1;
      for (; k < line.size() && line[k] != '"'; ++k) {
        char c = line[k];
        if (c == '\\' && k + 1 < line.size()) {
          const char e = line[++k];
          switch (e) {
            case 'n':
              c = '\n';
              break;
            case 'r':
              c = '\r';
              break;
            case 't':
              c = '\t';
              break;
            case '0':
              c = '\0';
              break;
            default:
              c = e;
              break;
          }
        }
        text.push_back(c);
      }
      if (k >= line.size()) {
        Error2(i, "string without its closing \"");
        return true;
      }
      CheckEnd(line, k + 1, line.size());
      for (char c : text) Emit(static_cast<uint8_t>(c), record, reported, i);
      if (name == ".asciz") Emit(0, record, reported, i);
      return true;
    }
    Error2(at, "unknown directive '" + name + "'");
    return true;
  }

  // Turns the operand text into the line assembler's syntax: every expression
  // becomes an octal number. Gives false after reporting a syntax error.
  bool Substitute(std::string_view line, std::size_t at, uint16_t fallback, MappedText& out,
                  std::optional<std::pair<std::string, std::size_t>>& undefined) {
    std::size_t i = at;
    // Every round adds a character, and a text past the limit is refused anyway: so a
    // long line costs no more than a short one.
    while (i < line.size() && out.text.size() <= kAsmTextLimit) {
      const char c = line[i];
      if (c == '-' && i + 1 < line.size() && line[i + 1] == '(') {
        out.Add(c, i++);
        continue;
      }
      if (IsNameStart(c)) {
        std::size_t j = i;
        while (j < line.size() && IsNameChar(line[j])) ++j;
        if (IsRegisterName(line.substr(i, j - i))) {
          for (; i < j; ++i) out.Add(line[i], i);
          continue;
        }
      }
      if (StartsTerm(line, i)) {
        const ExprResult r = Evaluate(line, i, location_);
        if (!r.error.empty()) {
          Error2(r.error_at, r.error);
          return false;
        }
        uint16_t value = r.value;
        if (!r.defined) {
          if (!undefined) undefined = std::make_pair(r.undefined_name, r.undefined_at);
          value = fallback;
        }
        for (char d : OctalText(value, 1)) out.Add(d, i);
        i = r.end;
        continue;
      }
      out.Add(IsBlank(c) ? ' ' : c, i);
      ++i;
    }
    return true;
  }

  void Instruction(std::string_view line, std::size_t at, LineRecord& record) {
    record.has_address = true;
    record.address = location_;
    record.words = true;
    std::size_t m_end = at;
    while (m_end < line.size() && !IsBlank(line[m_end])) ++m_end;
    const std::string_view mnemonic = line.substr(at, m_end - at);
    const std::size_t ops_at = SkipBlanks(line, m_end);
    const std::optional<OperandFormat> format = FormatOf(mnemonic);

    if (location_ & 1) Error2(at, "instruction at an odd address");

    std::optional<std::pair<std::string, std::size_t>> undefined;
    MappedText text;
    // A forward reference gets a stand-in value in the first pass: the instruction's
    // own address (always a reachable branch target) or, failing that, 0 (a valid trap
    // code or priority). Sizes do not depend on operand values.
    for (const uint16_t fallback : {location_, uint16_t{0}}) {
      text = MappedText();
      undefined.reset();
      for (std::size_t k = at; k < m_end; ++k) text.Add(line[k], k);
      text.Add(' ', m_end);
      const bool raw = !format || *format == OperandFormat::kFlags ||
                       *format == OperandFormat::kReg || *format == OperandFormat::kNone ||
                       *format == OperandFormat::kIllegal;
      if (raw) {
        for (std::size_t k = ops_at; k < line.size(); ++k) {
          text.Add(IsBlank(line[k]) ? ' ' : line[k], k);
        }
      } else if (!Substitute(line, ops_at, fallback, text, undefined)) {
        return;
      }
      if (text.text.size() > kAsmTextLimit) {
        Error2(at, "instruction longer than " + std::to_string(kAsmTextLimit) +
                       " characters after symbol substitution");
        return;
      }
      if (line_assembler_.AssembleLine(text.text, location_)) break;
      if (pass_ == 2 || !undefined) break;
    }
    if (pass_ == 2 && undefined) {
      Error(undefined->second, "undefined symbol '" + undefined->first + "'");
      return;
    }
    if (line_assembler_.pos() != 0) {
      if (pass_ == 2) ReportAsmFailure(line, at, m_end, ops_at, format, text);
      return;
    }
    bool reported = false;
    for (uint16_t w : line_assembler_.words()) EmitWord(w, record, reported, at);
  }

  void ReportAsmFailure(std::string_view line, std::size_t at, std::size_t m_end,
                        std::size_t ops_at, const std::optional<OperandFormat>& format,
                        const MappedText& text) {
    const std::size_t pos = static_cast<std::size_t>(line_assembler_.pos());
    const std::size_t column = pos - 1 < text.columns.size() ? text.columns[pos - 1] : line.size();
    if (!format || *format == OperandFormat::kIllegal || pos <= m_end - at) {
      Error(at, "unknown instruction '" + PrintableText(line.substr(at, m_end - at)) + "'");
    } else if (ops_at >= line.size() && *format != OperandFormat::kNone &&
               *format != OperandFormat::kFlags) {
      Error(column, "operand expected");
    } else if (HasRangedNumber(*format) && pos - 1 >= text.text.size()) {
      Error(ops_at, "value out of range for this instruction");
    } else {
      Error(column, "cannot assemble the operands here");
    }
  }

  void WriteListing() {
    std::string& out = result_.listing;
    for (std::size_t n = 0; n < lines_.size(); ++n) {
      const LineRecord& r = records_[n];
      std::string prefix(29, ' ');
      std::vector<std::string> more;
      if (r.assigned) {
        prefix.replace(8, 8, "= " + Octal6(*r.assigned));
      } else if (r.has_address) {
        prefix.replace(0, 6, Octal6(r.address));
      }
      std::vector<std::string> groups;
      if (r.words) {
        for (std::size_t k = 0; k + 1 < r.bytes.size(); k += 2) {
          groups.push_back(Octal6(static_cast<uint16_t>(r.bytes[k] | (r.bytes[k + 1] << 8))));
        }
      } else {
        for (uint8_t b : r.bytes) groups.push_back(Octal6(b).substr(3));
      }
      const std::size_t per_line = r.words ? 3 : 5;
      for (std::size_t g = 0; g < groups.size(); g += per_line) {
        std::string cells;
        for (std::size_t k = g; k < std::min(groups.size(), g + per_line); ++k) {
          cells += groups[k] + " ";
        }
        if (g == 0) {
          prefix.replace(8, cells.size(), cells);
        } else {
          const uint16_t address = static_cast<uint16_t>(r.address + (r.words ? 2 * g : g));
          more.push_back(Octal6(address) + "  " + cells);
        }
      }
      std::string text = prefix + std::string(lines_[n]);
      while (!text.empty() && IsBlank(text.back())) text.pop_back();
      out += text + "\n";
      for (std::string& m : more) {
        while (!m.empty() && m.back() == ' ') m.pop_back();
        out += m + "\n";
      }
    }
  }

  const AsmOptions& options_;
  AsmResult& result_;
  NumberFormat format_;
  LineAssembler line_assembler_;
  std::vector<std::string_view> lines_;
  std::vector<uint16_t> sizes_;
  std::vector<LineRecord> records_;
  std::map<std::string, uint16_t> symbols_;
  std::vector<Deferred> deferred_;
  int pass_ = 1;
  std::size_t line_index_ = 0;
  uint16_t location_ = 0;
};

}  // namespace

std::vector<uint8_t> AsmResult::Image(uint16_t first, uint16_t last, uint8_t fill) const {
  std::vector<uint8_t> image;
  if (last < first) return image;
  image.reserve(static_cast<std::size_t>(last - first) + 1);
  for (uint32_t a = first; a <= last; ++a) {
    image.push_back(memory[a] >= 0 ? static_cast<uint8_t>(memory[a]) : fill);
  }
  return image;
}

std::string AsmResult::SymbolText() const {
  std::size_t width = 0;
  for (const auto& [name, value] : symbols) width = std::max(width, name.size());
  std::string out;
  for (const auto& [name, value] : symbols) {
    out += name + std::string(width - name.size(), ' ') + " = " + Octal6(value) + "\n";
  }
  return out;
}

std::string AsmResult::ErrorText(std::string_view file_name) const {
  std::string out;
  for (const Diagnostic& d : errors) {
    out += std::string(file_name) + ":" + std::to_string(d.line) + ":" + std::to_string(d.column) +
           ": error: " + d.message + "\n";
  }
  return out;
}

AsmResult Assemble(std::string_view source, const AsmOptions& options) {
  AsmResult result;
  Assembler assembler(source, options, result);
  assembler.Run();
  if (!result.ok()) {
    std::stable_sort(result.errors.begin(), result.errors.end(),
                     [](const Diagnostic& a, const Diagnostic& b) {
                       return a.line != b.line ? a.line < b.line : a.column < b.column;
                     });
    result.memory.assign(0x10000, -1);
  }
  return result;
}

}  // namespace orlan::asm_tool
