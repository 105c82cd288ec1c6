// The workstation under test: a demo shop in a temporary folder and
// `kq_svc_309 serve` on a free loopback port, stopped by the test.
import { spawn, spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

export function binary() {
  const bin = process.env.KQ_BINARY;
  if (!bin || !fs.existsSync(bin)) throw new Error(`KQ_BINARY must name the built kq_svc_309 (got "${bin ?? ''}")`);
  return bin;
}

// The shops built on a database server, by their (never created) file path,
// so that shopSql() reaches them: path -> libpq connection string.
export const serverShops = new Map();

// The database server of the tests when they run on PostgreSQL
// (KQ_E2E_DATABASE=postgresql): the private cluster's connection, without a
// database name (KQ_TEST_POSTGRESQL, a libpq URI or key=value string).
function testServer() {
  if (process.env.KQ_E2E_DATABASE !== 'postgresql') return null;
  const uri = process.env.KQ_TEST_POSTGRESQL;
  if (!uri) throw new Error('KQ_E2E_DATABASE=postgresql needs KQ_TEST_POSTGRESQL (scripts/pg_cluster.sh env)');
  return uri;
}

// `conn` with the database `name` (a URI's path, or dbname= of a key=value string).
function withDatabase(conn, name) {
  const uri = /^(postgres(?:ql)?:\/\/[^/?]*)(\/[^?]*)?(.*)$/.exec(conn);
  if (uri) return `${uri[1]}/${name}${uri[3]}`;
  return `${conn.replace(/\bdbname=\S+/, '')} dbname=${name}`;
}

export function psql(conn, query) {
  const r = spawnSync('psql', ['-X', '-At', '-v', 'ON_ERROR_STOP=1', '-c', query, conn], { encoding: 'utf8' });
  if (r.status !== 0) throw new Error(`psql: ${r.stderr || r.error}`);
  return r.stdout.trim();
}

// Builds a demo shop (extra arguments such as ["--scale", "100000"]) and
// returns its database path; the folder is removed by cleanup(). On a
// database server (KQ_E2E_DATABASE=postgresql) the shop is a new database of
// its own, dropped by cleanup(); `server` is then its connection string, and
// `db` a path in the shop's folder that names it for shopSql().
export function demoShop(extra = []) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'kq-e2e-'));
  const db = path.join(dir, 'shop.db');
  const cluster = testServer();
  let server;
  const name = `kq_e2e_${process.pid}_${serverShops.size}`;
  if (cluster) {
    psql(withDatabase(cluster, 'postgres'), `DROP DATABASE IF EXISTS ${name}`);
    psql(withDatabase(cluster, 'postgres'), `CREATE DATABASE ${name}`);
    server = withDatabase(cluster, name);
    serverShops.set(db, server);
  }
  const where = server ? ['--server', server] : ['--db', db];
  const r = spawnSync(binary(), ['db', 'demo', ...where, ...extra], { encoding: 'utf8', timeout: 300000 });
  if (r.status !== 0) throw new Error(`db demo failed: ${r.stderr || r.error}`);
  return {
    db,
    server,
    dir,
    cleanup: () => {
      if (server) psql(withDatabase(cluster, 'postgres'), `DROP DATABASE IF EXISTS ${name} WITH (FORCE)`);
      fs.rmSync(dir, { recursive: true, force: true });
    },
  };
}

// Starts the server on 127.0.0.1 with a port of the system's choosing and
// resolves once it prints its address.
// `db` is the shop's file, or the shop of demoShop() itself (then a shop on a
// database server is served with --server, from the shop's folder, where
// the workstation server keeps its local files).
export function startServer(db) {
  const shop = typeof db === 'string' ? { db } : db;
  const server = shop.server ?? serverShops.get(shop.db);
  const where = server ? ['--server', server] : ['--db', shop.db];
  const child = spawn(binary(), ['serve', ...where, '--port', '0', '--listen', '127.0.0.1'], {
    stdio: ['ignore', 'pipe', 'pipe'],
    cwd: path.dirname(shop.db),
  });
  let errors = '';
  child.stderr.on('data', (d) => { errors += d; });
  return new Promise((resolve, reject) => {
    let out = '';
    const timer = setTimeout(() => reject(new Error(`the server did not start: ${errors}`)), 30000);
    child.on('exit', (code) => reject(new Error(`the server exited (${code}): ${errors}`)));
    child.stdout.on('data', (d) => {
      out += d;
      const m = /http:\/\/127\.0\.0\.1:(\d+)\//.exec(out);
      if (!m) return;
      clearTimeout(timer);
      resolve({
        url: m[0],
        errors: () => errors,
        stop: () => new Promise((done) => {
          if (child.exitCode !== null) return done(child.exitCode);
          const kill = setTimeout(() => child.kill('SIGKILL'), 10000);
          child.once('exit', (code) => { clearTimeout(kill); done(code); });
          child.kill('SIGTERM');
        }),
      });
    });
  });
}
