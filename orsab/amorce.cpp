// Placeholder until the stand-in's first source lands.
