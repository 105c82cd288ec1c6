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

-- scope_identity(): the identity the session's last INSERT drew; 0 before
-- the first, as on the embedded default (lastval() would fail).
CREATE OR REPLACE FUNCTION scope_identity() RETURNS bigint
  LANGUAGE plpgsql VOLATILE
  AS $$ BEGIN RETURN lastval(); EXCEPTION WHEN object_not_in_prerequisite_state THEN RETURN 0; END $$;
