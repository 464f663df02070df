# Sourced by the bench scripts: a private home whose settings load a list at start.
# our_home HOME LIST
our_home() {
    local home=$1 list=$2
    mkdir -p "$home/.config/Tavlix"
    sqlite3 "$home/.config/Tavlix/registry.sqlite3" <<SQL
CREATE TABLE IF NOT EXISTS keys(root TEXT NOT NULL, path TEXT NOT NULL COLLATE NOCASE, PRIMARY KEY(root, path));
CREATE TABLE IF NOT EXISTS reg_values(root TEXT NOT NULL, path TEXT NOT NULL COLLATE NOCASE,
  name TEXT NOT NULL COLLATE NOCASE, type INTEGER NOT NULL, data BLOB NOT NULL, PRIMARY KEY(root, path, name));
INSERT OR REPLACE INTO keys VALUES('HKEY_CURRENT_USER', 'Software\\Tavlix\\Settings');
INSERT OR REPLACE INTO reg_values VALUES('HKEY_CURRENT_USER', 'Software\\Tavlix\\Settings', 'Senaste', 1,
  CAST('$list' AS BLOB) || x'00');
SQL
}
