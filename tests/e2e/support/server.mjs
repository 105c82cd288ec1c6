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

// Builds a demo shop (extra arguments such as ["--scale", "100000"]) and
// returns its database path; the folder is removed by cleanup().
export function demoShop(extra = []) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'kq-e2e-'));
  const db = path.join(dir, 'shop.db');
  const r = spawnSync(binary(), ['db', 'demo', '--db', db, ...extra], { encoding: 'utf8', timeout: 300000 });
  if (r.status !== 0) throw new Error(`db demo failed: ${r.stderr || r.error}`);
  return { db, cleanup: () => fs.rmSync(dir, { recursive: true, force: true }) };
}

// Starts the server on 127.0.0.1 with a port of the system's choosing and
// resolves once it prints its address.
export function startServer(db) {
  const child = spawn(binary(), ['serve', '--db', db, '--port', '0', '--listen', '127.0.0.1'], {
    stdio: ['ignore', 'pipe', 'pipe'],
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
