-- Shop database of the Transaction tests: a few tables in the shape of the
-- real schema (text CHAR/VARCHAR, longs and flags INTEGER, money REAL(18,2),
-- unit prices REAL(18,6), dates DATETIME, blobs BLOB) and one view.
CREATE TABLE svcb20c (
  cwtsbh   CHAR(13)    NOT NULL,
  id       INTEGER     NOT NULL DEFAULT 0,
  cwxzt    CHAR(1)     NOT NULL DEFAULT '0',
  djsrq    DATETIME    NOT NULL DEFAULT '1900-01-01 00:00:00',
  cskxf    CHAR(1),
  nysgsf   REAL(18,2)  NOT NULL DEFAULT 0,
  nyhhgsf  REAL(18,2)  NOT NULL DEFAULT 0,
  nssgsf   REAL(18,2)  NOT NULL DEFAULT 0,
  nhjje    REAL(18,2),
  lcwskwb  INTEGER     NOT NULL DEFAULT 0,
  cbz      VARCHAR(200),
  cgsh     CHAR(2)     NOT NULL,
  PRIMARY KEY (cwtsbh, cgsh)
);

CREATE TABLE svcb20d (
  cwtsbh   CHAR(13)    NOT NULL,
  cwxxmdm  CHAR(8)     NOT NULL,
  cxmmc    CHAR(30)    NOT NULL,
  ngs      REAL(18,2)  NOT NULL DEFAULT 0,
  ngsf     REAL(18,2)  NOT NULL DEFAULT 0,
  lfgbs    INTEGER     NOT NULL DEFAULT 0,
  cgsh     CHAR(2)     NOT NULL,
  PRIMARY KEY (cwtsbh, cwxxmdm, cxmmc, cgsh)
);

CREATE TABLE spab02d (
  cdydbh   CHAR(13)    NOT NULL,
  cbjdm    CHAR(50)    NOT NULL,
  nrcdj    REAL(18,6)  NOT NULL DEFAULT 0,
  nrcsl    REAL(18,2)  NOT NULL DEFAULT 0,
  cgsh     CHAR(2)     NOT NULL
);

CREATE TABLE sysb13 (
  id       INTEGER PRIMARY KEY,
  cbs      CHAR(1)     NOT NULL,
  cdydjh   CHAR(13)    NOT NULL,
  nbcjsje  REAL(18,2)  NOT NULL DEFAULT 0,
  cgsh     CHAR(2)     NOT NULL
);

CREATE TABLE svcb61 (
  id       INTEGER PRIMARY KEY,
  ctype    CHAR(1)     NOT NULL DEFAULT '1',
  cwtsbh   CHAR(13)    NOT NULL,
  ddate    DATETIME    NOT NULL,
  cbz      VARCHAR(200) NOT NULL DEFAULT '',
  cgsh     CHAR(2)     NOT NULL,
  cblob    BLOB
);

CREATE VIEW v_svc300_01 AS
  SELECT cwtsbh, cwxzt, djsrq, nhjje, lcwskwb, cgsh, nysgsf + nyhhgsf AS nsum FROM svcb20c;

CREATE TABLE club01c (
  id       INTEGER PRIMARY KEY,
  ckh      CHAR(18)    NOT NULL,
  ndhjf    REAL(18,2)  NOT NULL DEFAULT 0,
  nknye    REAL(18,2)  NOT NULL DEFAULT 0,
  cgsh     CHAR(2)     NOT NULL
);
