// The language of vekhost's own texts at the terminal: Korean or English.
// The plug-in's texts (prompts, errors, the dialog) stay as it writes them.
#ifndef TRISPAN_VEKHOST_LANGUAGE_H
#define TRISPAN_VEKHOST_LANGUAGE_H

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vekhost {

enum class Language { English, Korean };

// "ko" or "en" as --lang takes them; nothing for any other text.
std::optional<Language> LanguageNamed(std::string_view name);

// The language a locale's name asks for: Korean for the language code "ko"
// ("ko", "ko_KR.UTF-8"), English otherwise (unset included).
Language LanguageOfLocale(const char* locale);

// The run's language: --lang in the arguments (as "--lang X" or
// "--lang=X") when it names one, else the locale's messages (LC_ALL, then
// LC_MESSAGES, then LANG; on Windows without them, the user's interface
// language).
Language StartLanguage(int argc, char** argv);

// The language the texts are given in; English until it is set.
void SetLanguage(Language language);
Language CurrentLanguage();

// Marks an English text that is given to Tr later (kept in a table, say).
constexpr const char* N_(const char* english) { return english; }

// An English text of vekhost in the run's language; the English itself
// when the run is in English or no Korean form is known.
const char* Tr(const char* english);

// A text with each "{}" replaced by the next of the parts, in order, and
// "{N}" by part N (from 0), for languages that put the parts in another order.
std::string Fill(std::string_view pattern, std::initializer_list<std::string_view> parts);

// A number as the terminal shows it: up to six significant digits.
std::string NumberText(double value);

// Every English text with its Korean form, for the test that every text
// given to Tr has one.
struct Translation {
  const char* english;
  const char* korean;
};
const std::vector<Translation>& Translations();

} // namespace vekhost

#endif
