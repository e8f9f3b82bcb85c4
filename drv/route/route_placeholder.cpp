// Replaced by the route format code.
