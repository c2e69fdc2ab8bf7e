#include "places/query_transliteration.h"

#include <unicode/translit.h>
#include <unicode/uchar.h>
#include <unicode/uscript.h>
#include <unicode/unistr.h>

#include <memory>

namespace {

// Whether a letter of text is of a script other than Latin, and whether
// every letter is Han.
struct Scripts {
    bool other = false;
    bool hanOnly = true;
};

Scripts ScriptsOf(const icu::UnicodeString& text) {
    Scripts found;
    for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
        const UChar32 c = text.char32At(i);
        if (!u_isalpha(c)) continue;
        UErrorCode status = U_ZERO_ERROR;
        const UScriptCode script = uscript_getScript(c, &status);
        if (U_FAILURE(status) || script == USCRIPT_COMMON || script == USCRIPT_INHERITED) continue;
        found.other = found.other || script != USCRIPT_LATIN;
        found.hanOnly = found.hanOnly && script == USCRIPT_HAN;
    }
    return found;
}

// ICU's transliterators keep state while they run: one for each thread,
// made at its first query, since making one reads the rules (milliseconds).
icu::Transliterator* ToAsciiLatin() {
    thread_local std::unique_ptr<icu::Transliterator> made = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Transliterator> t(
            icu::Transliterator::createInstance("Any-Latin; Latin-ASCII", UTRANS_FORWARD, status));
        if (U_FAILURE(status)) t.reset();
        return t;
    }();
    return made.get();
}

bool IsUtf8(const icu::UnicodeString& read, std::string_view bytes) {
    // ICU puts U+FFFD for every byte sequence that is not UTF-8.
    return read.indexOf(static_cast<UChar>(0xFFFD)) < 0 || bytes.find("\xEF\xBF\xBD") != std::string_view::npos;
}

}  // namespace

std::optional<std::string> TransliteratedQuery(std::string_view utf8) {
    icu::UnicodeString text = icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
    if (!IsUtf8(text, utf8)) return std::nullopt;
    const Scripts scripts = ScriptsOf(text);
    icu::Transliterator* latin = scripts.other ? ToAsciiLatin() : nullptr;
    if (!latin) return std::nullopt;
    latin->transliterate(text);
    // Any-Latin writes Han one syllable a word; a town's name is one word.
    if (scripts.hanOnly) text.findAndReplace(" ", "");
    std::string out;
    text.trim().toUTF8String(out);
    if (out.empty()) return std::nullopt;
    return out;
}
