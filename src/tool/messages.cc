#include "tool/messages.h"

namespace polimreza {

std::string DescribeWriteFailure(const WriteResult& result) {
  const std::string name = result.path.string();
  std::string text;
  switch (result.status) {
    case WriteStatus::kExists:
      text = "Fajl " + name + " vec postoji (--force ga zamenjuje)\n";
      break;
    case WriteStatus::kNotAFile:
      text = name + " postoji, a nije obican fajl\n";
      break;
    case WriteStatus::kWritten:
    case WriteStatus::kCannotWrite:
      text = "Ne mogu da zapisem " + name + "\n";
      break;
  }
  if (result.unrestored.empty()) return text += kNothingWritten;
  for (const Unrestored& file : result.unrestored) {
    if (file.former.empty()) {
      text += "Fajl " + file.path.string() +
              " je ipak zapisan: ne mogu da ga uklonim\n";
    } else {
      text += "Fajl " + file.path.string() +
              " je ipak zamenjen: stari sadrzaj je u " + file.former.string() +
              "\n";
    }
  }
  return text += "Ostali fajlovi nisu promenjeni\n";
}

}  // namespace polimreza
