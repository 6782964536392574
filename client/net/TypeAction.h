#pragma once

// The mode of an editing dialog.
enum class TTypeAction { ADD, EDIT, DELETE, ALL, VIEW };
