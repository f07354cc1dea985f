G1 X1 
