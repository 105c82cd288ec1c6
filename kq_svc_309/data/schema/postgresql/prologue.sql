-- What the shop's schema on PostgreSQL needs before its tables: runs before
-- every migration of a database server, so each statement may run again.

-- Keys compared without regard to case (the columns the embedded default
-- declares COLLATE NOCASE).
CREATE COLLATION IF NOT EXISTS kq_nocase (provider = icu, locale = 'und-u-ks-level2', deterministic = false);

-- The club's tables, in the same database so that one transaction covers both.
CREATE SCHEMA IF NOT EXISTS kq_club;

-- dbo.f_retu_gsh(): the company of the connection, kept by the backend in
-- the session setting kq.company. bpchar, so that cgsh = f_retu_gsh() uses
-- the indexes on cgsh.
CREATE OR REPLACE FUNCTION f_retu_gsh() RETURNS bpchar
  LANGUAGE sql STABLE
  AS $$ SELECT coalesce(current_setting('kq.company', true), '')::bpchar $$;
