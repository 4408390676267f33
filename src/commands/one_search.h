// One search at a time: the commands that start searches hold the slot while their searches
// run, and a second such command (a double click on Start, Enter in the URL field, several
// URLs or a new-links run pressed meanwhile) is refused with a status text instead of
// running nested inside the first.
#pragma once

#include "state/form1.h"

namespace vendil {

inline constexpr char kSearchRunningText[] =
    "検索の実行中です。新しい検索は、今の検索が終わるか中止してから開始してください。";

class SearchSlot {
 public:
  // Takes the slot when it is free; else says in the status text that a search runs.
  explicit SearchSlot(Form1& form);
  ~SearchSlot();
  SearchSlot(const SearchSlot&) = delete;
  SearchSlot& operator=(const SearchSlot&) = delete;

  // False when another search was running: the command must return without doing anything.
  bool Taken() const { return taken_; }

 private:
  Form1& form_;
  bool taken_ = false;
};

}  // namespace vendil
