#pragma once
// A form that has just been shown takes no mouse press that belongs to a
// click begun before it appeared. A double click on a button that opens a
// modal form opens it with its first click; the window system then gives
// the second click to whatever lies under the pointer, which is now the new
// form, and a button of that form would be pressed without the user ever
// having seen it. The guard watches the whole application: a press that
// reaches a modal window shown since the press before, within the
// double-click interval of it (by the events' own time stamps), is dropped
// with its double click and its release. Keys are left alone, and so is a
// press made after the interval.
namespace zvform {

// Installs the guard on the application once; later calls do nothing.
void ProtegeDelDobleClic();

}  // namespace zvform
