// A program's several files: modules, classes and forms as the language's editor saves them,
// the form descriptions and the editor's headers left out, lines kept where they were.
#include <filesystem>

#include "basic/parser.h"

namespace qf::basic {

namespace {

enum class FileKind { Module, Class, Form };

FileKind KindOf(const std::string& name) {
  const std::string ext = Lower(std::filesystem::path(name).extension().string());
  if (ext == ".cls") return FileKind::Class;
  if (ext == ".frm") return FileKind::Form;
  return FileKind::Module;
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
    s.remove_suffix(1);
  }
  return s;
}

// The code of a file: a header the editor writes first (VERSION, the form's Begin … End, its
// Object lines) becomes blank lines, so the lines keep their numbers.
std::string CodeOf(std::string_view text) {
  if (Lower(Trimmed(text.substr(0, text.find('\n')))).rfind("version", 0) != 0) {
    return std::string(text);
  }
  std::string out;
  bool header = true;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(at, end - at);
    if (header && Lower(Trimmed(line)).rfind("attribute ", 0) == 0) header = false;
    if (!header) out += line;
    if (end < text.size()) out += '\n';
    at = end + 1;
  }
  return out;
}

// Attribute VB_Name = "Name": the module's or class's name as the editor keeps it.
std::string VbName(std::string_view text) {
  const std::string lower = Lower(text);
  const size_t at = lower.find("attribute vb_name");
  if (at == std::string::npos) return {};
  const size_t open = text.find('"', at);
  const size_t close = open == std::string_view::npos ? open : text.find('"', open + 1);
  if (close == std::string_view::npos ||
      text.substr(at, open - at).find('\n') != std::string_view::npos) {
    return {};
  }
  return std::string(text.substr(open + 1, close - open - 1));
}

}  // namespace

Program ParseFiles(const std::vector<SourceFile>& files) {
  Program program;
  for (const SourceFile& file : files) {
    const std::string named = files.size() > 1 ? file.name : std::string();
    try {
      const std::string code = CodeOf(file.text);
      if (KindOf(file.name) != FileKind::Class) {
        Parser(code, program, nullptr, named).run();
        continue;
      }
      std::string name = VbName(file.text);
      if (name.empty()) name = std::filesystem::path(file.name).stem().string();
      auto [it, added] = program.classes.try_emplace(Lower(name));
      if (!added) throw BasicError{1, "クラス「" + name + "」が二度定義されています"};
      it->second.shownName = name;
      Parser(code, program, &it->second, named).run();
    } catch (BasicError& e) {
      if (files.size() > 1) {
        e.file = file.name;
        for (BasicError& other : e.more) other.file = file.name;
      }
      throw;
    }
  }
  CheckDeclared(program);
  ResolveSlots(program);
  return program;
}

}  // namespace qf::basic
