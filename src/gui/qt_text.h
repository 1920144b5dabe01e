// Conversions between the core's GBK Text and Qt's QString.
#pragma once

#include <QString>

#include "text/text.h"

namespace vellox {

QString toQString(const Text& gbk);
Text fromQString(const QString& text);

// Multi-line edit boxes keep their text in CR LF form, and a lone LF or CR inside a line is part
// of the text (the built-in field list has one). Qt's plain-text editor knows only paragraphs, so
// such a text is shown with CR LF as a paragraph break and a lone LF or CR as the visible symbols
// U+240A and U+240D; reading the editor back restores the exact text.
QString toEditorText(const Text& gbk);
Text fromEditorText(const QString& shown);

}  // namespace vellox
