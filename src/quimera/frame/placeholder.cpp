// Removed once the frame's first sources land.
