-- A repair item has at most one rework job at the workshop terminals: two
-- workstations saving rework for the same item cannot both create one.
CREATE UNIQUE INDEX ux_wtcb01c_rework_job ON wtcb01c (cwtsbh, cwxxmdm, cgsh) WHERE lfxbs = 1;
