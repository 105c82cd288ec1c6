-- Club tables of the Transaction tests, in the shop file as kq_club_<table>.
CREATE TABLE kq_club_club01c (
  id       INTEGER PRIMARY KEY,
  ckh      CHAR(18)    NOT NULL,
  ndhjf    REAL(18,2)  NOT NULL DEFAULT 0,
  nknye    REAL(18,2)  NOT NULL DEFAULT 0,
  cgsh     CHAR(2)     NOT NULL
);

CREATE TABLE kq_club_club08 (
  nkid     INTEGER     NOT NULL,
  cdyywdh  CHAR(13)    NOT NULL,
  cywfl    CHAR(3)     NOT NULL,
  nbcdhjf  REAL(18,2)  NOT NULL DEFAULT 0
);
