#!/usr/bin/env bash
# The main job: installs what is missing, builds (Release), creates the demo
# shop when it is absent and starts the workstation on this machine.
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

Stop with Ctrl-C.
TEXT
exec "$BIN" serve --db "$DB" --port "$PORT"
