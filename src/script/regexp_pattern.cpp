// Compiling and running a script regular expression on PCRE2 (16-bit code units).
#define PCRE2_CODE_UNIT_WIDTH 16
#include "script/regexp_pattern.h"

#include <pcre2.h>

#include "script/script_error.h"
#include "script/value_limit.h"

namespace vendil {

namespace {

constexpr int32_t kRegExpSyntaxError = 5017;
// Enough for any sane page scan; a pathological pattern stops here instead of running for
// minutes.
constexpr uint32_t kMatchLimit = 20'000'000;
constexpr uint32_t kDepthLimit = 100'000;
constexpr size_t kJitStackMax = size_t{4} * 1024 * 1024;

PCRE2_SPTR16 Units(std::u16string_view text) { return reinterpret_cast<PCRE2_SPTR16>(text.data()); }

}  // namespace

struct CompiledRegExp::Handles {
  struct CodeFree {
    void operator()(pcre2_code_16* p) const { pcre2_code_free_16(p); }
  };
  struct DataFree {
    void operator()(pcre2_match_data_16* p) const { pcre2_match_data_free_16(p); }
  };
  struct ContextFree {
    void operator()(pcre2_match_context_16* p) const { pcre2_match_context_free_16(p); }
  };
  struct CompileContextFree {
    void operator()(pcre2_compile_context_16* p) const { pcre2_compile_context_free_16(p); }
  };
  struct StackFree {
    void operator()(pcre2_jit_stack_16* p) const { pcre2_jit_stack_free_16(p); }
  };
  std::unique_ptr<pcre2_code_16, CodeFree> code;
  std::unique_ptr<pcre2_match_data_16, DataFree> data;
  std::unique_ptr<pcre2_match_context_16, ContextFree> context;
  std::unique_ptr<pcre2_jit_stack_16, StackFree> jitStack;
};

CompiledRegExp::CompiledRegExp(std::u16string_view pattern, bool ignoreCase, bool multiLine)
    : handles_(std::make_unique<Handles>()) {
  // Subjects may hold lone surrogates (scripts build strings unit by unit), so invalid UTF-16
  // is allowed and simply never matches a character.
  uint32_t options = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_ALT_BSUX |
                     PCRE2_ALLOW_EMPTY_CLASS | PCRE2_MATCH_UNSET_BACKREF;
  options |= multiLine ? PCRE2_MULTILINE : PCRE2_DOLLAR_ENDONLY;
  if (ignoreCase) options |= PCRE2_CASELESS;
  std::unique_ptr<pcre2_compile_context_16, Handles::CompileContextFree> compileContext(
      pcre2_compile_context_create_16(nullptr));
  pcre2_set_newline_16(compileContext.get(), PCRE2_NEWLINE_LF);
  pcre2_set_parens_nest_limit_16(compileContext.get(), 1000);
  int errorCode = 0;
  PCRE2_SIZE errorOffset = 0;
  handles_->code.reset(pcre2_compile_16(Units(pattern), pattern.size(), options, &errorCode,
                                        &errorOffset, compileContext.get()));
  if (!handles_->code) RaiseScriptError(kRegExpSyntaxError, u"Syntax error in regular expression");
  if (pcre2_jit_compile_16(handles_->code.get(), PCRE2_JIT_COMPLETE) == 0) {
    handles_->jitStack.reset(pcre2_jit_stack_create_16(32 * 1024, kJitStackMax, nullptr));
  }
  handles_->context.reset(pcre2_match_context_create_16(nullptr));
  pcre2_set_match_limit_16(handles_->context.get(), kMatchLimit);
  pcre2_set_depth_limit_16(handles_->context.get(), kDepthLimit);
  if (handles_->jitStack) {
    pcre2_jit_stack_assign_16(handles_->context.get(), nullptr, handles_->jitStack.get());
  }
  handles_->data.reset(pcre2_match_data_create_from_pattern_16(handles_->code.get(), nullptr));
  uint32_t captures = 0;
  pcre2_pattern_info_16(handles_->code.get(), PCRE2_INFO_CAPTURECOUNT, &captures);
  groupCount_ = captures;
}

CompiledRegExp::~CompiledRegExp() = default;

std::optional<RegExpMatch> CompiledRegExp::Search(std::u16string_view subject, size_t from) {
  if (from > subject.size()) return std::nullopt;
  const int result = pcre2_match_16(handles_->code.get(), Units(subject), subject.size(), from, 0,
                                    handles_->data.get(), handles_->context.get());
  if (result == PCRE2_ERROR_NOMATCH) return std::nullopt;
  if (result == PCRE2_ERROR_MATCHLIMIT || result == PCRE2_ERROR_DEPTHLIMIT ||
      result == PCRE2_ERROR_HEAPLIMIT || result == PCRE2_ERROR_JIT_STACKLIMIT) {
    RaiseScriptError(script_errors::kOutOfStack);
  }
  if (result < 0) RaiseScriptError(script_errors::kInvalidProcedureCall);
  const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer_16(handles_->data.get());
  RegExpMatch match;
  match.start = ovector[0];
  match.end = ovector[1];
  // \K can put the start after the end; keep the match well-formed.
  if (match.end < match.start) match.end = match.start;
  match.groups.reserve(groupCount_);
  for (size_t i = 1; i <= groupCount_; ++i) {
    if (static_cast<int>(i) < result && ovector[2 * i] != PCRE2_UNSET) {
      match.groups.emplace_back(ovector[2 * i], ovector[2 * i + 1]);
    } else {
      match.groups.emplace_back(RegExpMatch::npos, RegExpMatch::npos);
    }
  }
  return match;
}

std::vector<RegExpMatch> CompiledRegExp::SearchAll(std::u16string_view subject, bool global) {
  std::vector<RegExpMatch> matches;
  size_t from = 0;
  while (auto match = Search(subject, from)) {
    size_t next = match->end;
    if (match->end == match->start) {
      // An empty match: step one character so the scan moves on (a surrogate pair is one).
      next = match->end + 1;
      if (next < subject.size() && subject[next - 1] >= 0xD800 && subject[next - 1] <= 0xDBFF &&
          subject[next] >= 0xDC00 && subject[next] <= 0xDFFF) {
        ++next;
      }
    }
    CheckValueSize(matches.size() + 1, sizeof(RegExpMatch));
    matches.push_back(std::move(*match));
    if (!global) break;
    from = next;
  }
  return matches;
}

}  // namespace vendil
