#!/usr/bin/env bash
# The main job: installs what is missing, builds (Release), creates the demo
# shop when it is absent and starts the workstation on this machine, with a
# simulated membership card reader (docs/card-reader.md) beside it.
#   KQ_DB=path/shop.db   another shop database (default data/demo/shop.db, ignored by git)
#   KQ_PORT=N            another port (default 8309)
#   KQ_BUILD_DIR=dir     another build folder (default build)
set -euo pipefail
cd "$(dirname "$0")"
scripts/install_deps.sh
scripts/build.sh Release kq_svc_309
BIN="${KQ_BUILD_DIR:-build}/kq_svc_309"
DB="${KQ_DB:-data/demo/shop.db}"
PORT="${KQ_PORT:-8309}"

if [[ ! -f "$DB" ]]; then
  "$BIN" db demo --db "$DB"
fi

# The card reader: a simulator on a pseudo-terminal, reached through the link
# card-reader beside the database; the card on it is card.json (edit it to
# present another card). pb.ini points the workstation's reader there.
SHOP_DIR="$(cd "$(dirname "$DB")" && pwd)"
CARD_LINK="$SHOP_DIR/card-reader"
CARD_FILE="$SHOP_DIR/card.json"
if [[ ! -f "$CARD_FILE" ]]; then
  cat > "$CARD_FILE" <<'JSON'
{
  "present": true,
  "number": "8801000001",
  "valid": "1",
  "password": "880101",
  "points": "1350",
  "scoring_code": "01",
  "service": ["5", "6800.00", "1200.00", "980", "1010000000006", "", "", "200.00", "150", "0", "", ""],
  "records": []
}
JSON
fi
if [[ ! -f "$SHOP_DIR/pb.ini" ]]; then
  printf '[database]\nickcom=%s\n\n[ports]\nCOM1=%s\nCOM2=%s\n' "$CARD_LINK" "$CARD_LINK" "$CARD_LINK" > "$SHOP_DIR/pb.ini"
fi
"$BIN" card-sim --link "$CARD_LINK" --card "$CARD_FILE" &
SIM_PID=$!
trap 'kill "$SIM_PID" 2>/dev/null || true; wait "$SIM_PID" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  [[ -L "$CARD_LINK" ]] && break
  sleep 0.1
done
[[ -L "$CARD_LINK" ]] || echo "warning: the card reader simulator did not start; card reading will fail" >&2

cat <<TEXT

Workstation of the demo shop $DB (its business date is the day it was built;
rebuild it for today with: $BIN db demo --db $DB --replace)

Open http://127.0.0.1:$PORT/ in a browser on this machine and sign in:

  Company  Operator  Name    Authorities  Password
  01       001       王建国  CJ, CP, CQ   kq01001
  01       002       李秀兰  CP           kq01002
  01       003       赵强    none         kq01003
  01       004       陈静    CJ, CP       kq01004
  02       001       刘洋    CJ, CP, CQ   kq02001
  02       002       孙丽    CP           kq02002
  02       003       周涛    none         kq02003
  (01/009 马超 is a stopped operator and cannot sign in.)

The card reader holds the card in $CARD_FILE: edit that file to
present another card (docs/card-reader.md).

Stop with Ctrl-C.
TEXT
"$BIN" serve --db "$DB" --port "$PORT"
