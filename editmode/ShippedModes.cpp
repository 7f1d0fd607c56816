#include "editmode/ShippedModes.h"

#include "editmode/EditModeMessages.h"
#include "editmode/ReserveWords.h"
#include "editmode/TKervEditModeAssociationList.h"

namespace kerv {
namespace {

using namespace WordOption;

constexpr int kCode = MatchCase | WholeWord;  // keywords of case-sensitive languages
constexpr int kWord = WholeWord;              // words of case-insensitive formats

// The shipped palette (0x00BBGGRR) on a white background.
constexpr TColor kCommentColor = clGreen;
constexpr TColor kStringColor = 0x0000A0;   // dark red
constexpr TColor kNumberColor = 0x0060C0;   // brown
constexpr TColor kKeywordColor = 0xC00000;  // blue
constexpr TColor kTypeColor = 0x808000;     // teal
constexpr TColor kDirectiveColor = 0x800080;  // purple
constexpr TColor kMarkupColor = 0x004080;   // dark brown

const std::vector<TShippedMode> kModes = {
    {"C-C++", "C and C++ sources and headers",
     {"c", "h", "cpp", "cc", "cxx", "c++", "hpp", "hh", "hxx", "inl"}, "//", "\"", "0x",
     {{"/*", "*/", TShippedBracket::Comment}},
     {{"auto break case char const continue default do double else enum extern float for goto if inline int long "
       "register restrict return short signed sizeof static struct switch typedef union unsigned void volatile while "
       "_Bool alignas alignof asm bool catch class concept consteval constexpr constinit const_cast co_await "
       "co_return co_yield decltype delete dynamic_cast explicit export false final friend mutable namespace new "
       "noexcept nullptr operator override private protected public reinterpret_cast requires static_assert "
       "static_cast template this thread_local throw true try typeid typename using virtual wchar_t char8_t "
       "char16_t char32_t",
       1, kCode},
      {"size_t ptrdiff_t int8_t int16_t int32_t int64_t uint8_t uint16_t uint32_t uint64_t intptr_t uintptr_t NULL "
       "std string vector map",
       2, kCode},
      {"^[ \t]*#[ \t]*[a-z]+", 3, RegExp}}},
    {"Java", "Java sources", {"java"}, "//", "\"", "0x",
     {{"/*", "*/", TShippedBracket::Comment}},
     {{"abstract assert boolean break byte case catch char class const continue default do double else enum extends "
       "final finally float for goto if implements import instanceof int interface long native new package private "
       "protected public return short static strictfp super switch synchronized this throw throws transient try "
       "void volatile while var record sealed permits yield true false null",
       1, kCode},
      {"String Object Integer Long Double Boolean Character List Map Set ArrayList HashMap System Exception", 2, kCode},
      {"@[A-Za-z_][A-Za-z0-9_]*", 3, RegExp}}},
    {"JavaScript", "JavaScript and TypeScript",
     {"js", "mjs", "cjs", "jsx", "ts", "tsx", "mts", "cts"}, "//", "\"", "0x",
     {{"/*", "*/", TShippedBracket::Comment}, {"`", "`", TShippedBracket::String}, {"'", "'", TShippedBracket::String}},
     {{"async await break case catch class const continue debugger default delete do else export extends false "
       "finally for function if import in instanceof let new null of return static super switch this throw true try "
       "typeof undefined var void while with yield",
       1, kCode},
      {"any boolean declare enum implements interface keyof namespace never number private protected public readonly "
       "string symbol type unknown abstract as is satisfies",
       2, kCode},
      {"console document window Math JSON Object Array Promise", 3, kCode}}},
    {"Python", "Python scripts", {"py", "pyw", "pyi"}, "#", "\"", "0x",
     {{"\"\"\"", "\"\"\"", TShippedBracket::String},
      {"'''", "'''", TShippedBracket::String},
      {"'", "'", TShippedBracket::String}},
     {{"False None True and as assert async await break class continue def del elif else except finally for from "
       "global if import in is lambda nonlocal not or pass raise return try while with yield match case",
       1, kCode},
      {"print len range self cls int str float bytes list dict set tuple bool open isinstance super enumerate zip "
       "map filter sorted object type",
       2, kCode},
      {"@[A-Za-z_][A-Za-z0-9_.]*", 3, RegExp}},
     true},
    {"Shell", "Shell scripts", {"sh", "bash", "zsh", "ksh", "bashrc", "bash_profile", "zshrc", "profile"}, "#", "\"",
     "",
     {{"'", "'", TShippedBracket::String}},
     {{"if then else elif fi case esac for select while until do done in function time return exit break continue",
       1, kCode},
      {"echo printf read cd export local readonly declare set unset shift source eval exec trap test alias", 2, kCode},
      {"\\$[A-Za-z_][A-Za-z0-9_]*\n\\${[^}]*}", 3, RegExp}}},
    {"HTML", "HTML pages", {"html", "htm", "xhtml", "shtml"}, "", "\"", "",
     {{"<!--", "-->", TShippedBracket::Comment}},
     {{"</?[A-Za-z][A-Za-z0-9]*\n/?>", 1, RegExp},
      {"[A-Za-z][A-Za-z0-9-]*=", 2, RegExp},
      {"&[A-Za-z]+;\n&#[0-9]+;", 3, RegExp}}},
    {"XML", "XML documents", {"xml", "xsl", "xslt", "xsd", "svg", "plist", "rss", "atom", "xaml"}, "", "\"", "",
     {{"<!--", "-->", TShippedBracket::Comment}, {"<![CDATA[", "]]>", TShippedBracket::String}},
     {{"<\\?[A-Za-z]+\n\\?>", 3, RegExp},
      {"</?[A-Za-z_][A-Za-z0-9_:.-]*\n/?>", 1, RegExp},
      {"[A-Za-z_:][A-Za-z0-9_:.-]*=", 2, RegExp},
      {"&[A-Za-z]+;\n&#[0-9]+;", 3, RegExp}}},
    {"CSS", "Style sheets", {"css", "scss", "less"}, "", "\"", "",
     {{"/*", "*/", TShippedBracket::Comment}, {"'", "'", TShippedBracket::String}},
     {{"background-color background-image background border-radius border-color border-width border box-sizing "
       "box-shadow color content cursor display flex-direction flex-wrap flex float font-family font-size "
       "font-weight font gap grid-template-columns grid height justify-content align-items left line-height "
       "list-style margin max-width min-width opacity overflow padding position right text-align "
       "text-decoration top transform transition vertical-align visibility white-space width z-index",
       1, kWord},
      {"!important none auto inherit initial solid block inline inline-block flex grid absolute relative fixed "
       "sticky bold normal hidden center",
       2, kWord},
      {"@[A-Za-z-]+", 3, RegExp}}},
    {"Markdown", "Markdown documents", {"md", "markdown", "mkd"}, "", "", "",
     {{"```", "```", TShippedBracket::String},
      {"<!--", "-->", TShippedBracket::Comment},
      {"`", "`", TShippedBracket::String}},
     {{"^#+ .*", 2, RegExp},
      {"^ *[-*+] \n^ *[0-9]+\\. ", 3, RegExp},
      {"\\*\\*[^*]+\\*\\*", 4, RegExp},
      {"^>.*", 5, RegExp}}},
    {"INI", "Settings files with ; comments", {"ini", "inf", "reg"}, ";", "\"", "",
     {{"[", "]", TShippedBracket::String}},
     {{"^[A-Za-z0-9_.-]+ *=", 2, RegExp}, {"true false yes no on off", 3, kWord}}},
    {"Conf", "Settings files with # comments",
     {"conf", "cnf", "cfg", "properties", "desktop", "toml", "service"}, "#", "\"", "",
     {{"[", "]", TShippedBracket::String}},
     {{"^[ \t]*[A-Za-z0-9_.-]+ *[=:]", 2, RegExp}, {"true false yes no on off", 3, kWord}}},
};

std::vector<std::string> SplitWords(const TShippedWords& group) {
  const std::string text = group.words;
  const char separator = (group.options & RegExp) ? '\n' : ' ';
  std::vector<std::string> result;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(separator, start);
    if (end == std::string::npos) end = text.size();
    if (end > start) result.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return result;
}

void Paint(TEditorColor& entry, TColor color, TFontStyles style = 0) {
  entry.Assign(TEditorColor(clWhite, color, style));
}

}  // namespace

const std::vector<TShippedMode>& ShippedModes() { return kModes; }

std::unique_ptr<TEditorPropEx> BuildShippedMode(const TShippedMode& mode) {
  auto set = std::make_unique<TEditorPropEx>();
  set->ApplyFactorySettings();
  set->SetAuthor("KervEditor");
  set->SetUserComment(mode.comment);
  set->SetColor(clWhite);
  set->Font().SetColor(clBlack);
  TEditorColors& colors = set->View().Colors();
  for (TEditorColor* plain : {&colors.Ank(), &colors.DBCS(), &colors.Symbol()}) Paint(*plain, clBlack);
  Paint(colors.Comment(), kCommentColor);
  Paint(colors.Str(), kStringColor);
  Paint(colors.Int(), kNumberColor);
  Paint(colors.Reserve(), kKeywordColor);
  Paint(colors.Stress2(), kTypeColor);
  Paint(colors.Stress3(), kDirectiveColor);
  Paint(colors.Stress4(), kMarkupColor, fsBold);

  set->View().SetCommenter(mode.commenter);
  set->View().SetQuotation(mode.quotation);
  set->View().SetHexPrefix(mode.hexPrefix);
  for (const TShippedBracket& bracket : mode.brackets) {
    TEditorBracketItem& item = set->View().Brackets().Add();
    item.SetLeftBracket(bracket.left);
    item.SetRightBracket(bracket.right);
    Paint(item.ItemColor(), bracket.kind == TShippedBracket::Comment ? kCommentColor : kStringColor);
  }
  for (const TShippedWords& group : mode.words) {
    for (std::string& word : SplitWords(group)) {
      set->ReserveWordList().push_back({std::move(word), WithLevel(group.options, group.level)});
    }
  }
  if (mode.softTab) set->Caret().SetSoftTab(true);
  return set;
}

std::string ShippedAssociationText() {
  TKervEditModeAssociationList list;
  for (const TShippedMode& mode : kModes) {
    for (const char* ext : mode.extensions) list.Put(ext, mode.name);
  }
  return list.Text();
}

void WriteShippedModes(IFileSystem& fs, const std::string& folder) {
  const std::string base = IncludeTrailingSlash(folder);
  for (const TShippedMode& mode : kModes) {
    // Shipped files must not depend on the desktop they were generated on.
    BuildShippedMode(mode)->SaveToFile(fs, base + mode.name + kEditModeExt, &DefaultSystemColorRgb);
  }
  fs.WriteFile(base + kAssociationFileName, ShippedAssociationText());
}

}  // namespace kerv
