# Prints the request targets of a player's first clicks, in the order the game makes them, for
# replay_clicks.lua. Automatic stepping and fixed order, as the game starts; every fourth
# pick is wrong. Start-up fetches the waiting picture and plays the first turn; each click
# then fetches its verdict and the picked tile's picture, and plays the next turn.
#
#   awk -v folder=/uploads/all/dravel/1/ -v waiting=reading.jpg -v scheme=shemoftask.txt \
#       -v right=ok.jpg -v wrong=no.jpg SCHEME_FILE ANSWERS
# ANSWERS: the lines of dravel-answers ("position code tile").

FNR == NR {
  sub(/\r$/, "")
  names[FNR - 1] = $0
  next
}

function cell(row, column) { return folder names[7 * (row - 1) + column - 1] }

function turn(code,   k) {
  print folder scheme
  for (k = 1; k <= 7; ++k) print cell(k, k)
  for (k = 1; k <= 5; k += 2) print cell(substr(code, k, 1), substr(code, k + 1, 1))
}

# The click on task n - 1 comes before the turn that puts up task n.
{
  if (FNR == 1) {
    print folder waiting
  } else {
    pick = (FNR - 1) % 4 == 0 ? last_right % 7 + 1 : last_right
    print folder (pick == last_right ? right : wrong)
    print cell(pick, pick)
  }
  turn($2)
  last_right = $3
}
