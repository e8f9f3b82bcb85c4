// Replaced by the flight format code.
