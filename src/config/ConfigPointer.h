#pragma once
// A configuration, or one of its parts, held by the logic or window that
// edits it. Const member functions, which only show, see it as const, as
// they would a member held by value; a plain pointer would let them write.
#include <experimental/propagate_const>

template <class T> using TConfigPointer = std::experimental::propagate_const<T*>;
