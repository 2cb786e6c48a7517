// Placeholder until the subsystem's first source lands.
