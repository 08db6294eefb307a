// Replaced by the game object.
