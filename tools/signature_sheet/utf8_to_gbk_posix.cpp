#include <iconv.h>

#include <string>

#include "tools/signature_sheet/signature_names.h"

bool Utf8ToGbk(std::string_view utf8, std::string* gbk) {
  gbk->clear();
  if (utf8.empty()) return true;
  const iconv_t converter = iconv_open("GBK", "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) return false;
  std::string in(utf8);
  std::string out(in.size() * 2 + 4, '\0');
  char* from = in.data();
  std::size_t fromLeft = in.size();
  char* to = out.data();
  std::size_t toLeft = out.size();
  const bool converted = iconv(converter, &from, &fromLeft, &to, &toLeft) != static_cast<std::size_t>(-1) && fromLeft == 0;
  iconv_close(converter);
  if (!converted) return false;
  out.resize(out.size() - toLeft);
  *gbk = std::move(out);
  return true;
}
