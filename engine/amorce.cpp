// Placeholder until the engine's first source lands.
