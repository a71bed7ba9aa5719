#include "store/engine_functions.h"

#include "store/like_matcher.h"
#include "store/store_error.h"
#include "store/text_fold.h"

#include <new>
#include <sqlite3.h>
#include <string_view>

namespace quillon {

namespace {

int compareFolded(void*, int aBytes, const void* a, int bBytes, const void* b) {
    return TextFold::compare(a, aBytes, b, bBytes);
}

std::string_view textOf(sqlite3_value* value) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    const int bytes = sqlite3_value_bytes(value);
    return text != nullptr ? std::string_view(text, std::size_t(bytes)) : std::string_view();
}

void deleteMatcher(void* matcher) {
    delete static_cast<LikeMatcher*>(matcher);
}

// like(pattern, text [, escape]): what "text LIKE pattern [ESCAPE escape]" calls. The pattern is
// compiled once per statement while it stays the same (the engine keeps it as auxiliary data).
void like(sqlite3_context* context, int argc, sqlite3_value** argv) noexcept {
    try {
        if (sqlite3_value_type(argv[0]) == SQLITE_NULL ||
            sqlite3_value_type(argv[1]) == SQLITE_NULL) {
            sqlite3_result_null(context);
            return;
        }
        char32_t escape = LikeMatcher::noEscape;
        if (argc == 3) {
            if (sqlite3_value_type(argv[2]) == SQLITE_NULL) {
                sqlite3_result_null(context);
                return;
            }
            const std::string_view escapeText = textOf(argv[2]);
            const auto* p = reinterpret_cast<const unsigned char*>(escapeText.data());
            const auto* end = p + escapeText.size();
            if (p != end)
                escape = TextFold::decode(p, end);
            if (escapeText.empty() || p != end) {
                sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
                return;
            }
        }
        auto* matcher = static_cast<LikeMatcher*>(sqlite3_get_auxdata(context, 0));
        if (matcher == nullptr || matcher->escape() != escape) {
            sqlite3_set_auxdata(context, 0, new LikeMatcher(textOf(argv[0]), escape),
                                deleteMatcher);
            matcher = static_cast<LikeMatcher*>(sqlite3_get_auxdata(context, 0));
        }
        const std::string_view text = textOf(argv[1]);
        if (matcher != nullptr) {
            sqlite3_result_int(context, matcher->matches(text) ? 1 : 0);
        } else {
            // The engine didn't keep the compiled pattern: use it for this row only.
            const LikeMatcher once(textOf(argv[0]), escape);
            sqlite3_result_int(context, once.matches(text) ? 1 : 0);
        }
    } catch (const std::bad_alloc&) {
        sqlite3_result_error_nomem(context);
    } catch (...) {
        sqlite3_result_error(context, "LIKE failed", -1);
    }
}

void check(sqlite3* db, int rc, const char* what) {
    if (rc != SQLITE_OK)
        throw StoreError(QStringLiteral("Can't install %1: %2")
                             .arg(QLatin1String(what), QString::fromUtf8(sqlite3_errmsg(db))));
}

} // namespace

void EngineFunctions::install(sqlite3* db) {
    check(db,
          sqlite3_create_collation_v2(db, TextFold::collationName, SQLITE_UTF8, nullptr,
                                      compareFolded, nullptr),
          "the text collation");
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    check(
        db,
        sqlite3_create_function_v2(db, "like", 2, flags, nullptr, like, nullptr, nullptr, nullptr),
        "LIKE");
    check(
        db,
        sqlite3_create_function_v2(db, "like", 3, flags, nullptr, like, nullptr, nullptr, nullptr),
        "LIKE");
}

} // namespace quillon
