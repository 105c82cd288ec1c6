-- Club database kq_club, schema version 1: the membership-card tables. The
-- script runs on a connection that has the club file attached as kq_club, so
-- every name is qualified. Conventions as in the shop database (docs/schema.md).
-- The migration runner sets application_id and user_version.

-- Membership cards; ids agree with the shop database's copy of club01c.
CREATE TABLE kq_club.club01c (
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
CREATE UNIQUE INDEX kq_club.ux_club01c_ckh ON club01c (ckh, cgsh);

-- Link of a card (nkid) to a vehicle record of a shop (ncldaid).
CREATE TABLE kq_club.club03 (
  id       INTEGER PRIMARY KEY AUTOINCREMENT,
  ncldaid  INTEGER   NOT NULL,
  nkid     INTEGER   NOT NULL,
  cgsh     CHAR(2)   NOT NULL
);
CREATE INDEX kq_club.ix_club03_vehicle ON club03 (ncldaid);
CREATE INDEX kq_club.ix_club03_card ON club03 (nkid);

-- Stored-value log.
CREATE TABLE kq_club.club07 (
  id       INTEGER PRIMARY KEY AUTOINCREMENT,
  nkid     INTEGER     NOT NULL DEFAULT 0,
  cdyywdh  CHAR(20)    NOT NULL DEFAULT '',
  cywfl    CHAR(3)     NOT NULL DEFAULT '',
  nje      REAL(18,2)  NOT NULL DEFAULT 0,
  drq      DATETIME    NOT NULL DEFAULT '1900-01-01 00:00:00',
  cgsh     CHAR(2)     NOT NULL
);
CREATE INDEX kq_club.ix_club07_doc ON club07 (cdyywdh, cywfl);

-- Points log.
CREATE TABLE kq_club.club08 (
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
CREATE INDEX kq_club.ix_club08_doc ON club08 (cdyywdh, cywfl);
CREATE INDEX kq_club.ix_club08_card ON club08 (nkid);

-- Card payments against a work order.
CREATE TABLE kq_club.club01d (
  id       INTEGER PRIMARY KEY AUTOINCREMENT,
  ckh      CHAR(18)    NOT NULL DEFAULT '',
  cwtsbh   CHAR(13)    NOT NULL DEFAULT '',
  nje      REAL(18,2)  NOT NULL DEFAULT 0,
  drq      DATETIME    NOT NULL DEFAULT '1900-01-01 00:00:00',
  cgsh     CHAR(2)     NOT NULL
);
CREATE INDEX kq_club.ix_club01d_card ON club01d (ckh, cwtsbh);
