#pragma once

#include <QString>

namespace orvanel {

// The sentence templates of random talk, numbered 1..118.
inline constexpr int kTemplateCount = 118;

// Template k when it is plain script text; a null text for the templates that are composed
// when drawn (words picked at once, a choice, a surface, a machine topic) and outside 1..118.
QString PlainTemplate(int k);

} // namespace orvanel
