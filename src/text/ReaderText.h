#pragma once

// What a screen reader is given of a text: every character but the
// Unicode non-characters (U+FDD0 to U+FDEF and the last two code points of
// each plane), which the text document uses internally to mark the bounds
// of its frames and tables, and which would be read aloud as noise.

#include <QString>
#include <QStringView>

namespace lorvane {

bool IsNonCharacter(char32_t codePoint);

// The text without its non-characters; other characters, lone surrogates
// included, are kept as they are.
QString WithoutNonCharacters(QStringView text);

}  // namespace lorvane
