#pragma once
// The widgets and actions of a window under test, found by their object names.

#include <gtest/gtest.h>

#include <QObject>
#include <QString>

namespace qz::testing {

// The child of `parent` of class T named `name` (at any depth); a failure of the test, and null,
// when it has none.
template <class T>
T* Child(const QObject& parent, const char* name) {
  T* c = parent.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(c, nullptr) << name;
  return c;
}

}  // namespace qz::testing
