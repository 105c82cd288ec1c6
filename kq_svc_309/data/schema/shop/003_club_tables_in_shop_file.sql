-- The club database's tables move into the shop file, as kq_club_<table>
-- (the windows keep writing kq_club..club01c; the dialect names it
-- kq_club_club01c). One file in write-ahead-log mode lets readers run beside a
-- writer while one commit still covers shop and club together.
--
-- The script runs with the club database attached as kq_club: the shop's old
-- club file kq_club.db, or an empty one for a new shop; its rows are copied in
-- the same transaction as the tables are made, so a failure leaves the shop at
-- the version before and the old club file untouched.

-- Membership cards; ids agree with the shop database's copy of club01c.
CREATE TABLE kq_club_club01c (
  id       INTEGER PRIMARY KEY AUTOINCREMENT,
  ckh      CHAR(18)    NOT NULL,
  ckhdm    CHAR(18)    NOT NULL DEFAULT '',
  ckhmc    CHAR(50)    NOT NULL DEFAULT '',
  ndhjf    REAL(18,2)  NOT NULL DEFAULT 0,
  ndjjf    REAL(18,2)  NOT NULL DEFAULT 0,
  nljjf    REAL(18,2)  NOT NULL DEFAULT 0,
  nknye    REAL(18,2)  NOT NULL DEFAULT 0,
  lsdbs    INTEGER     NOT NULL DEFAULT 0,
  ltybs    INTEGER     NOT NULL DEFAULT 0,
  lblbs    INTEGER     NOT NULL DEFAULT 0,
  dyxrq    DATETIME    NOT NULL DEFAULT '1900-01-01 00:00:00',
  dhfdqr   DATETIME    NOT NULL DEFAULT '1900-01-01 00:00:00',
  cgsh     CHAR(2)     NOT NULL
);
CREATE UNIQUE INDEX ux_kq_club_club01c_ckh ON kq_club_club01c (ckh, cgsh);

-- Link of a card (nkid) to a vehicle record of a shop (ncldaid).
CREATE TABLE kq_club_club03 (
  id       INTEGER PRIMARY KEY AUTOINCREMENT,
  ncldaid  INTEGER   NOT NULL,
  nkid     INTEGER   NOT NULL,
  cgsh     CHAR(2)   NOT NULL
);
CREATE INDEX ix_kq_club_club03_vehicle ON kq_club_club03 (ncldaid);
CREATE INDEX ix_kq_club_club03_card ON kq_club_club03 (nkid);

-- Stored-value log.
CREATE TABLE kq_club_club07 (
  id       INTEGER PRIMARY KEY AUTOINCREMENT,
  nkid     INTEGER     NOT NULL DEFAULT 0,
  cdyywdh  CHAR(20)    NOT NULL DEFAULT '',
  cywfl    CHAR(3)     NOT NULL DEFAULT '',
  nje      REAL(18,2)  NOT NULL DEFAULT 0,
  drq      DATETIME    NOT NULL DEFAULT '1900-01-01 00:00:00',
  cgsh     CHAR(2)     NOT NULL
);
CREATE INDEX ix_kq_club_club07_doc ON kq_club_club07 (cdyywdh, cywfl);

-- Points log.
CREATE TABLE kq_club_club08 (
  id       INTEGER PRIMARY KEY AUTOINCREMENT,
  nkid     INTEGER     NOT NULL DEFAULT 0,
  cdyywdh  CHAR(20)    NOT NULL DEFAULT '',
  cywfl    CHAR(3)     NOT NULL DEFAULT '',
  nbcdhjf  REAL(18,2)  NOT NULL DEFAULT 0,
  nbcdjjf  REAL(18,2)  NOT NULL DEFAULT 0,
  nbcljjf  REAL(18,2)  NOT NULL DEFAULT 0,
  drq      DATETIME    NOT NULL DEFAULT '1900-01-01 00:00:00',
  cgsh     CHAR(2)     NOT NULL
);
CREATE INDEX ix_kq_club_club08_doc ON kq_club_club08 (cdyywdh, cywfl);
CREATE INDEX ix_kq_club_club08_card ON kq_club_club08 (nkid);

-- Card payments against a work order.
CREATE TABLE kq_club_club01d (
  id       INTEGER PRIMARY KEY AUTOINCREMENT,
  ckh      CHAR(18)    NOT NULL DEFAULT '',
  cwtsbh   CHAR(13)    NOT NULL DEFAULT '',
  nje      REAL(18,2)  NOT NULL DEFAULT 0,
  drq      DATETIME    NOT NULL DEFAULT '1900-01-01 00:00:00',
  cgsh     CHAR(2)     NOT NULL
);
CREATE INDEX ix_kq_club_club01d_card ON kq_club_club01d (ckh, cwtsbh);

-- The rows of the old club database, ids and all.
INSERT INTO kq_club_club01c SELECT * FROM kq_club.club01c;
INSERT INTO kq_club_club03 SELECT * FROM kq_club.club03;
INSERT INTO kq_club_club07 SELECT * FROM kq_club.club07;
INSERT INTO kq_club_club08 SELECT * FROM kq_club.club08;
INSERT INTO kq_club_club01d SELECT * FROM kq_club.club01d;
