// Members of the host objects, found by name without regard to letter case. Texts cross to
// the crawl as UTF-8; a value given to a text field is converted as CStr converts it.
#include "crawl/script_host_objects.h"

#include "script/script_error.h"
#include "script/variant_convert.h"

namespace vendil {

namespace {

bool Is(std::u16string_view name, std::u16string_view member) {
  return EqualsNoCaseU16(name, member);
}

std::string TextOf(const Variant& value) { return Utf16ToUtf8(ToString(value)); }

Variant TextValue(const std::string& utf8) { return Variant::String(Utf8ToUtf16(utf8)); }

bool Given(std::span<Variant> args, size_t index) {
  return index < args.size() && !args[index].IsMissing();
}

}  // namespace

std::string* AddLinkObject::Field(std::u16string_view name) {
  if (Is(name, u"Url")) return &link_->Url;
  if (Is(name, u"Title")) return &link_->Title;
  if (Is(name, u"Referer")) return &link_->Referer;
  if (Is(name, u"Folder")) return &link_->Folder;
  if (Is(name, u"FileName")) return &link_->FileName;
  return nullptr;
}

Variant AddLinkObject::Get(std::u16string_view name, std::span<Variant> args) {
  std::string* field = Field(name);
  if (!field) RaiseNoSuchMember(name);
  CheckArgumentCount(args, 0, 0);
  return TextValue(*field);
}

void AddLinkObject::Let(std::u16string_view name, std::span<Variant> args, const Variant& value) {
  std::string* field = Field(name);
  if (!field) RaiseNoSuchMember(name);
  CheckArgumentCount(args, 0, 0);
  *field = TextOf(value);
  if (field == &link_->Url) link_->UrlFromPage = false;
}

size_t LinkCollectionObject::IndexOf(const Variant& index) const {
  const Variant value = ValueOf(index);
  // The collection has no keys, so a text that is no number names nothing.
  if (value.IsString() && !ParseNumericString(value.StringValue()))
    RaiseScriptError(script_errors::kInvalidProcedureCall);
  const int32_t i = ToLong(value);
  if (i < 1 || static_cast<size_t>(i) > links_.size())
    RaiseScriptError(script_errors::kSubscriptOutOfRange);
  return static_cast<size_t>(i - 1);
}

Variant LinkCollectionObject::Get(std::u16string_view name, std::span<Variant> args) {
  if (Is(name, u"Count")) {
    CheckArgumentCount(args, 0, 0);
    return Variant::Long(static_cast<int32_t>(links_.size()));
  }
  if (name.empty() || Is(name, u"Item")) {
    CheckArgumentCount(args, 1, 1);
    return Variant::Object(std::make_shared<AddLinkObject>(links_[IndexOf(args[0])]));
  }
  if (Is(name, u"Add")) {
    CheckArgumentCount(args, 1, 1);
    const auto* link = args[0].IsObject()
                           ? dynamic_cast<const AddLinkObject*>(args[0].ObjectValue().get())
                           : nullptr;
    if (!link) RaiseScriptError(script_errors::kTypeMismatch);
    if (links_.size() >= kMaxValueBytes / sizeof(links_[0]))
      RaiseScriptError(script_errors::kOutOfMemory);
    links_.push_back(link->link());
    return Variant();
  }
  if (Is(name, u"Remove")) {
    CheckArgumentCount(args, 1, 1);
    links_.erase(links_.begin() + static_cast<std::ptrdiff_t>(IndexOf(args[0])));
    return Variant();
  }
  RaiseNoSuchMember(name);
}

std::vector<Variant> LinkCollectionObject::Enumerate() {
  std::vector<Variant> items;
  items.reserve(links_.size());
  for (const auto& link : links_)
    items.push_back(Variant::Object(std::make_shared<AddLinkObject>(link)));
  return items;
}

Variant VendilInfoClass::Get(std::u16string_view name, std::span<Variant> args) {
  if (Is(name, u"AddUrl")) {
    CheckArgumentCount(args, 1, 5);
    AddUrl(args);
    return Variant();
  }
  // `VendilInfo.Links(1)`: arguments after a property that takes none go to the default
  // member of what it returns, as an object made in Visual Basic answers.
  if (Is(name, u"Links") && !args.empty()) {
    if (!Links) RaiseScriptError(script_errors::kObjectVariableNotSet);
    return Links->Get(u"", args);
  }
  CheckArgumentCount(args, 0, 0);
  if (Is(name, u"Links")) return Links ? Variant::Object(Links) : Variant::Nothing();
  if (Is(name, u"Html")) return Variant::String(Html);
  if (Is(name, u"Url")) return Variant::String(Url);
  RaiseNoSuchMember(name);
}

void VendilInfoClass::Let(std::u16string_view name, std::span<Variant> args, const Variant& value) {
  if (Is(name, u"Links")) {
    Set(name, args, value);
    return;
  }
  CheckArgumentCount(args, 0, 0);
  if (Is(name, u"Html")) {
    Html = ToString(value);
  } else if (Is(name, u"Url")) {
    Url = ToString(value);
  } else {
    RaiseNoSuchMember(name);
  }
}

void VendilInfoClass::Set(std::u16string_view name, std::span<Variant> args, const Variant& value) {
  if (!Is(name, u"Links")) {
    Let(name, args, value);
    return;
  }
  CheckArgumentCount(args, 0, 0);
  if (!value.IsObject()) RaiseScriptError(script_errors::kTypeMismatch);
  if (value.IsNothing()) {
    Links.reset();
    return;
  }
  auto collection = std::dynamic_pointer_cast<LinkCollectionObject>(value.ObjectValue());
  if (!collection) RaiseScriptError(script_errors::kTypeMismatch);
  Links = std::move(collection);
}

void VendilInfoClass::AddUrl(std::span<Variant> args) {
  // Every given argument is converted first, so a bad one adds nothing.
  const std::string url = TextOf(args[0]);
  if (url.empty()) return;
  auto link = std::make_shared<AddLinkClass>();
  link->Url = url;
  if (Given(args, 1)) link->FileName = TextOf(args[1]);
  if (Given(args, 2)) link->Folder = TextOf(args[2]);
  link->Referer = Given(args, 3) ? TextOf(args[3]) : Utf16ToUtf8(Url);
  if (Given(args, 4)) link->Title = TextOf(args[4]);
  if (!Links) RaiseScriptError(script_errors::kObjectVariableNotSet);
  LinkCollectionObject& links = *Links;
  if (links.links().size() >= kMaxValueBytes / sizeof(links.links()[0]))
    RaiseScriptError(script_errors::kOutOfMemory);
  links.links().push_back(std::move(link));
}

}  // namespace vendil
