#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Turning web pages into scripts and words into addresses (QtCore only).
namespace orvanel {

// The text after the first `start` up to the first `end` that follows it; both searched
// case-insensitively. Empty when `start` is missing or no `end` follows it. An empty `start`
// matches at the beginning, an empty `end` right after `start`.
QString ExtractBetween(QStringView text, QStringView start, QStringView end);

// Page markup to script text: "<BR>" and "<HR>" become "\n", comments and then tags are
// removed (an unterminated one runs to the end of the text), CR and LF are dropped.
QString HtmlToScript(QStringView text);

// Speech pauses after Japanese punctuation and around parentheses.
QString AddSpeechWaits(QStringView text);

// Words for a query in the system code page (CP932): a blank becomes "+", "@", letters,
// digits and "*-._" stay, every other byte "%XX" (a double-byte character two of them).
QString UrlEncodeAnsi(QStringView text);
// The same rule over the UTF-8 bytes, for services that expect UTF-8.
QString UrlEncodeUtf8(QStringView text);
// The same rule over any bytes.
QString UrlEncodeBytes(QByteArrayView bytes);

// Page text that must not act as script: "\", "%" and "$" become "＼", "％" and "＄" (the
// script language has no escape, and the full-width forms look alike in a balloon).
QString ShowLiterally(QStringView text);

// Character references (&amp; &lt; &gt; &quot; &apos; &nbsp; &#N; &#xN;) of text whose tags
// are gone. What they stand for is shown literally; control characters are dropped; unknown
// or malformed references stay as they are.
QString DecodeCharacterReferences(QStringView text);

// The most parts FetchPagePart reads from one page.
inline constexpr int kMaxPageParts = 10;
// Between two parts the balloon is given time and then cleared for the next one.
inline constexpr QStringView kPartSeparator = u"\\w8\\w8\\w8\\w8\\c";

// The script a page gives for the markers `start` and `end`: every part between them in page
// order (at most kMaxPageParts; a page whose markers occur once gives the single cut), each
// with its CDATA sections opened, shown literally, given pauses, stripped of markup and its
// character references decoded; the parts joined by kPartSeparator. Empty parts are skipped.
QString PagePartScript(QStringView page, QStringView start, QStringView end);

} // namespace orvanel
