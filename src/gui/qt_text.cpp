#include "gui/qt_text.h"

#include <string>

#include "text/codepage.h"

namespace vellox {
namespace {

constexpr char16_t kLineFeedSymbol = 0x240A;
constexpr char16_t kCarriageReturnSymbol = 0x240D;

}  // namespace

QString toQString(const Text& gbk) {
  const std::u16string u = gbkToUtf16(gbk);
  return QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
}

Text fromQString(const QString& text) {
  return utf16ToGbk(
      std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), text.size()));
}

QString toEditorText(const Text& gbk) {
  const std::u16string u = gbkToUtf16(gbk);
  std::u16string shown;
  shown.reserve(u.size());
  for (std::size_t i = 0; i < u.size(); ++i) {
    if (u[i] == u'\r' && i + 1 < u.size() && u[i + 1] == u'\n') {
      shown.push_back(u'\n');
      ++i;
    } else if (u[i] == u'\n') {
      shown.push_back(kLineFeedSymbol);
    } else if (u[i] == u'\r') {
      shown.push_back(kCarriageReturnSymbol);
    } else {
      shown.push_back(u[i]);
    }
  }
  return QString::fromUtf16(shown.data(), static_cast<qsizetype>(shown.size()));
}

Text fromEditorText(const QString& shown) {
  std::u16string u;
  u.reserve(static_cast<std::size_t>(shown.size()) + 16);
  for (const QChar c : shown) {
    switch (c.unicode()) {
      case u'\n':
      case QChar::ParagraphSeparator:
      case QChar::LineSeparator:
        u += u"\r\n";
        break;
      case kLineFeedSymbol: u.push_back(u'\n'); break;
      case kCarriageReturnSymbol: u.push_back(u'\r'); break;
      default: u.push_back(c.unicode());
    }
  }
  return utf16ToGbk(u);
}

}  // namespace vellox
