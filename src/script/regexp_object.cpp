// The RegExp object of `New RegExp` and the Matches, Match and SubMatches collections its
// Execute returns. The pattern compiles once when first used after Pattern, IgnoreCase or
// MultiLine changed, so a loop calling Test or Execute does not recompile it.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "script/builtins.h"
#include "script/held_values.h"
#include "script/regexp_pattern.h"
#include "script/regexp_replace.h"
#include "script/script_error.h"
#include "script/script_object.h"
#include "script/value_limit.h"
#include "script/variant_convert.h"

namespace vendil {

namespace {

size_t IndexArgument(std::span<Variant> args, size_t count) {
  CheckArgumentCount(args, 1, 1);
  const int32_t index = ToLong(args[0]);
  if (index < 0 || static_cast<size_t>(index) >= count) {
    RaiseScriptError(script_errors::kInvalidProcedureCall);
  }
  return static_cast<size_t>(index);
}

class SubMatchesObject : public ScriptObject {
 public:
  explicit SubMatchesObject(std::vector<Variant> values) : values_(std::move(values)) {}
  std::u16string TypeName() const override { return u"ISubMatches"; }
  void CountHeld(ValueCounter& counter) const override {
    for (const Variant& value : values_) counter.Add(value);
  }
  Variant Get(std::u16string_view name, std::span<Variant> args) override {
    if (EqualsNoCaseU16(name, u"Count")) {
      CheckArgumentCount(args, 0, 0);
      return Variant::Long(static_cast<int32_t>(values_.size()));
    }
    if (name.empty() || EqualsNoCaseU16(name, u"Item")) {
      return values_[IndexArgument(args, values_.size())];
    }
    RaiseNoSuchMember(name);
  }
  std::vector<Variant> Enumerate() override { return values_; }

 private:
  std::vector<Variant> values_;
};

class MatchObject : public ScriptObject {
 public:
  MatchObject(std::u16string value, size_t firstIndex, std::vector<Variant> groups)
      : value_(std::move(value)), firstIndex_(firstIndex), groups_(std::move(groups)) {}
  std::u16string TypeName() const override { return u"IMatch2"; }
  void CountHeld(ValueCounter& counter) const override {
    counter.AddBytes(value_.capacity() * sizeof(char16_t));
    for (const Variant& group : groups_) counter.Add(group);
  }
  Variant Get(std::u16string_view name, std::span<Variant> args) override {
    if (name.empty() || EqualsNoCaseU16(name, u"Value")) {
      CheckArgumentCount(args, 0, 0);
      return Variant::String(value_);
    }
    if (EqualsNoCaseU16(name, u"FirstIndex")) {
      CheckArgumentCount(args, 0, 0);
      return Variant::Long(static_cast<int32_t>(firstIndex_));
    }
    if (EqualsNoCaseU16(name, u"Length")) {
      CheckArgumentCount(args, 0, 0);
      return Variant::Long(static_cast<int32_t>(value_.size()));
    }
    if (EqualsNoCaseU16(name, u"SubMatches")) {
      if (!subMatches_) subMatches_ = std::make_shared<SubMatchesObject>(groups_);
      // `m.SubMatches(0)` indexes the collection the property returns.
      if (!args.empty()) return subMatches_->Get(u"", args);
      return Variant::Object(subMatches_);
    }
    RaiseNoSuchMember(name);
  }

 private:
  std::u16string value_;
  size_t firstIndex_;
  std::vector<Variant> groups_;
  std::shared_ptr<SubMatchesObject> subMatches_;
};

// Match objects are made when a script first asks for one, so Execute over a large page
// costs only the offsets until the matches are read.
class MatchesObject : public ScriptObject {
 public:
  MatchesObject(std::u16string subject, std::vector<RegExpMatch> matches)
      : subject_(std::move(subject)), matches_(std::move(matches)), objects_(matches_.size()) {
    ChargeValueBytes(HeldBytes());
  }
  std::u16string TypeName() const override { return u"IMatchCollection2"; }
  void CountHeld(ValueCounter& counter) const override {
    counter.AddBytes(HeldBytes());
    for (const auto& object : objects_) {
      counter.AddObject(object.get());
    }
  }
  Variant Get(std::u16string_view name, std::span<Variant> args) override {
    if (EqualsNoCaseU16(name, u"Count")) {
      CheckArgumentCount(args, 0, 0);
      return Variant::Long(static_cast<int32_t>(matches_.size()));
    }
    if (name.empty() || EqualsNoCaseU16(name, u"Item")) {
      return Variant::Object(At(IndexArgument(args, matches_.size())));
    }
    RaiseNoSuchMember(name);
  }
  std::vector<Variant> Enumerate() override {
    std::vector<Variant> items;
    items.reserve(matches_.size());
    for (size_t i = 0; i < matches_.size(); ++i) items.push_back(Variant::Object(At(i)));
    return items;
  }

 private:
  // The subject it keeps and the places of its matches.
  size_t HeldBytes() const {
    size_t bytes = subject_.capacity() * sizeof(char16_t) +
                   matches_.size() * (sizeof(RegExpMatch) + sizeof(std::shared_ptr<ScriptObject>));
    for (const RegExpMatch& match : matches_) {
      bytes += match.groups.size() * sizeof(match.groups[0]);
    }
    return bytes;
  }

  std::shared_ptr<ScriptObject> At(size_t index) {
    if (!objects_[index]) {
      const RegExpMatch& match = matches_[index];
      std::vector<Variant> groups;
      groups.reserve(match.groups.size());
      for (const auto& [start, end] : match.groups) {
        if (start == RegExpMatch::npos) {
          groups.emplace_back();  // a group that took no part is Empty
        } else {
          groups.push_back(
              Variant::String(std::u16string_view(subject_).substr(start, end - start)));
        }
      }
      objects_[index] = std::make_shared<MatchObject>(
          subject_.substr(match.start, match.end - match.start), match.start, std::move(groups));
    }
    return objects_[index];
  }

  std::u16string subject_;
  std::vector<RegExpMatch> matches_;
  std::vector<std::shared_ptr<ScriptObject>> objects_;
};

class RegExpObject : public ScriptObject {
 public:
  std::u16string TypeName() const override { return u"IRegExp2"; }

  Variant Get(std::u16string_view name, std::span<Variant> args) override {
    if (EqualsNoCaseU16(name, u"Pattern")) {
      CheckArgumentCount(args, 0, 0);
      return Variant::String(pattern_);
    }
    if (EqualsNoCaseU16(name, u"Global")) {
      CheckArgumentCount(args, 0, 0);
      return Variant::Boolean(global_);
    }
    if (EqualsNoCaseU16(name, u"IgnoreCase")) {
      CheckArgumentCount(args, 0, 0);
      return Variant::Boolean(ignoreCase_);
    }
    if (EqualsNoCaseU16(name, u"MultiLine")) {
      CheckArgumentCount(args, 0, 0);
      return Variant::Boolean(multiLine_);
    }
    if (EqualsNoCaseU16(name, u"Test")) {
      CheckArgumentCount(args, 1, 1);
      const std::u16string subject = ToString(args[0]);
      return Variant::Boolean(Compiled().Search(subject, 0).has_value());
    }
    if (EqualsNoCaseU16(name, u"Execute")) {
      CheckArgumentCount(args, 1, 1);
      std::u16string subject = ToString(args[0]);
      std::vector<RegExpMatch> matches = Compiled().SearchAll(subject, global_);
      return Variant::Object(
          std::make_shared<MatchesObject>(std::move(subject), std::move(matches)));
    }
    if (EqualsNoCaseU16(name, u"Replace")) {
      CheckArgumentCount(args, 2, 2);
      const std::u16string subject = ToString(args[0]);
      // A Boolean replacement is taken as its number: True inserts "-1".
      const std::u16string replacement =
          ToString(args[1].IsBoolean() ? Variant::Integer(args[1].BoolValue() ? -1 : 0) : args[1]);
      CompiledRegExp& compiled = Compiled();
      return Variant::String(ReplaceMatches(subject, compiled.SearchAll(subject, global_),
                                            replacement, compiled.GroupCount()));
    }
    RaiseNoSuchMember(name);
  }

  void Let(std::u16string_view name, std::span<Variant> args, const Variant& value) override {
    CheckArgumentCount(args, 0, 0);
    if (EqualsNoCaseU16(name, u"Pattern")) {
      pattern_ = ToString(value);
    } else if (EqualsNoCaseU16(name, u"Global")) {
      global_ = ToBool(value);
      return;  // Global does not change the compiled form
    } else if (EqualsNoCaseU16(name, u"IgnoreCase")) {
      ignoreCase_ = ToBool(value);
    } else if (EqualsNoCaseU16(name, u"MultiLine")) {
      multiLine_ = ToBool(value);
    } else {
      RaiseNoSuchMember(name);
    }
    compiled_.reset();
  }

 private:
  CompiledRegExp& Compiled() {
    if (!compiled_) compiled_ = std::make_unique<CompiledRegExp>(pattern_, ignoreCase_, multiLine_);
    return *compiled_;
  }

  std::u16string pattern_;
  bool global_ = false;
  bool ignoreCase_ = false;
  bool multiLine_ = false;
  std::unique_ptr<CompiledRegExp> compiled_;
};

}  // namespace

std::shared_ptr<ScriptObject> CreateRegExp() { return std::make_shared<RegExpObject>(); }

}  // namespace vendil
