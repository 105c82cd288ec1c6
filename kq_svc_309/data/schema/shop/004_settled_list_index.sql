-- The work orders of a company by settlement day carry what the cancellation
-- list (d_svc305_01) reads of them and tests, so that the list of a month's
-- 100,000 settlements reads this index in order instead of fetching every row
-- of svcb20c from wherever it lies in the file (a read of the table per row).
-- Settlements of the same moment come in the order of their work-order
-- numbers. It serves every search by company and settlement day as the index
-- it replaces did.
DROP INDEX ix_svcb20c_djsrq;
CREATE INDEX ix_svcb20c_djsrq ON svcb20c (cgsh, djsrq, cwtsbh, cwxzt, npljsxh, npzid, lcwskwb, nljsk, id, ckhdm,
                                          dsxrq, cfplxdm, cfph, dfprq, cyszkkm, lsbbs, nhjje, czhzt, czhbh, chykh,
                                          nhykbcjf, nhykbcxfje, cskxf, cskxgbs);
