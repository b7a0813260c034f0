#include "app/due_listing.h"

#include "app/app_helpers.h"
#include "app/upcoming_rows.h"

namespace {
// C0 controls, DEL, and the C1 controls U+0080 to U+009F (UTF-8 C2 80 to C2 9F).
std::string WithControlsAsSpaces(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char byte = static_cast<unsigned char>(text[i]);
    if (byte == 0xC2 && i + 1 < text.size() && (static_cast<unsigned char>(text[i + 1]) & 0xE0) == 0x80) {
      out += ' ';
      ++i;
    } else {
      out += byte < 0x20 || byte == 0x7F ? ' ' : text[i];
    }
  }
  return out;
}
}  // namespace

std::string DueListing(CInstance* self) {
  KslFrame k(__func__, self, self);
  ReadHorizon(k);
  CreateViewLists(k);
  ReadSourceListsForCommand(k);
  SelectRows(k);
  std::string listing = ValueText(RowTableHeader());
  for (TempValue row = 0; Less(row, ListSize(k, v_ds1)); row = Add(row, 1)) {
    std::array<TempValue, 4> columns = RowColumns(k, row);
    for (int column = 0; column < 4; ++column)
      listing += (column > 0 ? "\t" : "") + WithControlsAsSpaces(ValueText(columns[column]));
    listing += '\n';
  }
  return listing;
}
