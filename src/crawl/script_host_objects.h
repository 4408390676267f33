// The objects an add-URL script sees: VendilInfoClass (the one object named VendilInfo),
// the page's link collection, and each AddLinkClass link in it.
#pragma once

#include <memory>
#include <string>

#include "crawl/add_link_class.h"
#include "script/script_object.h"

namespace vendil {

// One link with its five text fields, shared with the crawl's collection.
class AddLinkObject : public ScriptObject {
 public:
  explicit AddLinkObject(std::shared_ptr<AddLinkClass> link) : link_(std::move(link)) {}
  std::u16string TypeName() const override { return u"AddLinkClass"; }
  Variant Get(std::u16string_view name, std::span<Variant> args) override;
  void Let(std::u16string_view name, std::span<Variant> args, const Variant& value) override;
  const std::shared_ptr<AddLinkClass>& link() const { return link_; }

 private:
  std::string* Field(std::u16string_view name);
  std::shared_ptr<AddLinkClass> link_;
};

// The page's links as a collection: Count, Item (from 1, the default member), Add, Remove
// and For Each. It holds only AddLinkClass links, as the crawl handles nothing else.
class LinkCollectionObject : public ScriptObject {
 public:
  explicit LinkCollectionObject(LinkCollection links) : links_(std::move(links)) {}
  std::u16string TypeName() const override { return u"Collection"; }
  Variant Get(std::u16string_view name, std::span<Variant> args) override;
  std::vector<Variant> Enumerate() override;
  LinkCollection& links() { return links_; }

 private:
  size_t IndexOf(const Variant& index) const;  // 0-based; raises 9 or 5 as a Collection does
  LinkCollection links_;
};

class VendilInfoClass : public ScriptObject {
 public:
  std::u16string TypeName() const override { return u"VendilInfoClass"; }
  Variant Get(std::u16string_view name, std::span<Variant> args) override;
  void Let(std::u16string_view name, std::span<Variant> args, const Variant& value) override;
  void Set(std::u16string_view name, std::span<Variant> args, const Variant& value) override;

  // The crawl's side. Links may be null (Nothing).
  std::shared_ptr<LinkCollectionObject> Links;
  std::u16string Html;
  std::u16string Url;

  // AddUrl(strUrl, [strFileName], [strFolder], [strReferer], [strTitle]).
  void AddUrl(std::span<Variant> args);
};

}  // namespace vendil
