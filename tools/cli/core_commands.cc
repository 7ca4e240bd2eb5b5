// Processor and memory commands: reset, registers, memory, loading, stepping and
// interrupt requests.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "core/digits.h"
#include "core/machine.h"
#include "debugger/mnemonic_table.h"
#include "tools/cli/command_table.h"

namespace orlan::cli {

namespace {

// Throws unless every byte from `address` on for `count` bytes can be stored, so
// that a deposit or load is done entirely or not at all.
void CheckPokeable(const Machine& m, uint16_t address, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const uint32_t a = address + static_cast<uint32_t>(i);
    if (a > 0177777 || !m.Pokeable(static_cast<uint16_t>(a))) {
      throw UsageError("address not writable: " + Octal6(static_cast<uint16_t>(a)));
    }
  }
}

void PokeBytes(Machine& m, uint16_t address, const std::vector<uint8_t>& bytes) {
  for (uint8_t b : bytes) m.PokeByte(address++, b);
}

std::string Lower(std::string_view text) {
  std::string s(text);
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

Action ParseReset(const Args& args, const Session&) {
  args.ExpectCount(0, 0);
  return [](Session& s) { s.machine().CpuReset(); };
}

Action ParseReg(const Args& args, const Session&) {
  args.ExpectCount(2, 2);
  const std::string name = Lower(args[0]);
  const uint16_t value = args.Word(1);
  if (const std::optional<int> index = RegisterNumber(name)) {
    return [index = *index, value](Session& s) { s.machine().cpu.SetR(index, value); };
  }
  if (name == "psw") return [value](Session& s) { s.machine().cpu.psw = value; };
  if (name == "cpc") return [value](Session& s) { s.machine().cpu.cpc = value; };
  if (name == "cps") return [value](Session& s) { s.machine().cpu.cps = value; };
  throw UsageError("unknown register: " + std::string(args[0]));
}

Action ParseRegs(const Args& args, const Session&) {
  args.ExpectCount(0, 0);
  return [](Session& s) {
    const CpuState& c = s.machine().cpu;
    for (int i = 0; i < 8; ++i) s.out << RegisterName(i) << '=' << Octal6(c.R(i)) << ' ';
    s.out << "psw=" << Octal6(c.psw) << '\n';
  };
}

Action ParseDep(const Args& args, const Session& session) {
  args.ExpectCount(2, 0177777);
  const uint16_t address = args.Address(0, session.symbols);
  std::vector<uint16_t> words;
  for (std::size_t i = 1; i < args.size(); ++i) words.push_back(args.Word(i));
  CheckPokeable(session.machine(), address, 2 * words.size());
  return [address, words](Session& s) {
    uint16_t at = address;
    for (const uint16_t word : words) {
      s.machine().PokeWord(at, word);
      at = static_cast<uint16_t>(at + 2);
    }
  };
}

Action ParseMem(const Args& args, const Session& session) {
  args.ExpectCount(1, 2);
  const uint16_t address = args.Address(0, session.symbols);
  // Up to the whole address space; the address wraps like the processor's.
  const uint32_t count = args.size() > 1 ? static_cast<uint32_t>(args.Number(1, 0100000)) : 1;
  if (count == 0) throw UsageError("number out of range: " + std::string(args[1]));
  return [address, count](Session& s) {
    s.out << Octal6(address) << ':';
    for (uint32_t i = 0; i < count; ++i) {
      s.out << ' ' << Octal6(s.machine().PeekWord(static_cast<uint16_t>(address + 2 * i)));
    }
    s.out << '\n';
  };
}

Action ParseLoad(const Args& args, const Session& session) {
  args.ExpectCount(2, 2);
  const std::string path(args[0]);
  const uint16_t address = args.Address(1, session.symbols);
  std::ifstream file(path, std::ios::binary);
  if (!file) throw UsageError("cannot read file: " + path);
  // One byte more than the address space holds is enough to know it cannot fit.
  std::vector<uint8_t> bytes;
  char c;
  while (bytes.size() <= 0200000 && file.get(c)) bytes.push_back(static_cast<uint8_t>(c));
  if (file.bad()) throw UsageError("cannot read file: " + path);
  CheckPokeable(session.machine(), address, bytes.size());
  return
      [address, bytes = std::move(bytes)](Session& s) { PokeBytes(s.machine(), address, bytes); };
}

Action ParseStep(const Args& args, const Session&) {
  args.ExpectCount(0, 1);
  const uint64_t count = args.size() > 0 ? args.Number(0, 0xFFFFFFFF) : 1;
  return [count](Session& s) {
    // A debugger step: a processor in WAIT goes on with the next instruction.
    for (uint64_t i = 0; i < count; ++i) s.watch.Step();
  };
}

Action ParseIrq(const Args& args, const Session&) {
  args.ExpectCount(1, 1);
  const std::string source = Lower(args[0]);
  if (source == "clock") return [](Session& s) { s.machine().cpu.irq_clock = true; };
  if (source == "channel") return [](Session& s) { s.machine().cpu.irq_channel = true; };
  throw UsageError("unknown interrupt: " + std::string(args[0]));
}

Action ParseQuit(const Args& args, const Session&) {
  args.ExpectCount(0, 0);
  return [](Session& s) { s.quit = true; };
}

}  // namespace

void AddCoreCommands(CommandTable& table) {
  table.Add({"reset", "reset", "reset the processor (pc=173000, psw=000340)", ParseReset});
  table.Add({"reg", "reg NAME VALUE", "set r0-r7, sp, pc, psw, cpc or cps", ParseReg});
  table.Add({"regs", "regs", "print the registers and the psw", ParseRegs});
  table.Add({"dep", "dep ADDR WORD...", "store words into RAM or ROM from ADDR on", ParseDep});
  table.Add({"mem", "mem ADDR [COUNT]", "print COUNT words from ADDR on", ParseMem});
  table.Add({"load", "load FILE ADDR", "copy a file's bytes into memory from ADDR on", ParseLoad});
  table.Add({"step", "step [N]",
             "run N processor steps (default 1); a WAIT is left for the next instruction",
             ParseStep});
  table.Add({"irq", "irq clock|channel", "raise an interrupt request", ParseIrq});
  table.Add({"quit", "quit", "stop reading commands", ParseQuit});
}

}  // namespace orlan::cli
